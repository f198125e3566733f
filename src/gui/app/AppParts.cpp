#include "AppParts.h"

#include "colour/ColorSpaceRegistry.h"
#include "history/HistoryStore.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

std::unique_ptr<HistoryStore> AppParts::makeHistoryStore(UserDefaults& defaults, const ColorSpaceRegistry& spaces,
                                                         const NameLookup& names)
{
    HistoryStore::Options options;
    options.closestColorName = names.closestColorNameOnAnyThread();
    // The window's space, chosen the way the window chooses it.
    options.wellColorSpace = [&defaults, &spaces] {
        return spaces.rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace));
    };
    return std::make_unique<HistoryStore>(defaults, spaces, std::move(options));
}
