#include "HistoryStoreAlert.h"

#include "history/HistoryStoreError.h"

#include <QMessageBox>

namespace HistoryStoreAlert {

void presentError(const HistoryStoreError& error, QWidget* parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Huelark"), error.localizedDescription, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("historyStoreAlert"));
    if (!error.localizedFailureReason.isEmpty())
        box.setInformativeText(error.localizedFailureReason);
    if (error.underlyingError)
        box.setDetailedText(error.underlyingError->description());
    box.exec();
}

} // namespace HistoryStoreAlert
