#include "AppParts.h"

#include "colour/WellColorSpace.h"
#include "history/HistoryStore.h"

void AppParts::buildStores(UserDefaults& defaults, const ColorSpaceRegistry& spaces, const NameLookup& names,
                           std::function<QDateTime()> now)
{
    wellColorSpace = std::make_unique<WellColorSpace>(defaults, spaces);
    HistoryStore::Options options;
    options.closestColorName = names.closestColorNameOnAnyThread();
    options.wellColorSpace = wellColorSpace.get();
    options.now = now;
    if (now)
        historyMenu.today = [now] { return now().date(); };
    historyStore = std::make_unique<HistoryStore>(defaults, spaces, std::move(options));
}
