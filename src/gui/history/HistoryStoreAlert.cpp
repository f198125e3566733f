#include "HistoryStoreAlert.h"

#include "history/HistoryStoreError.h"

#include <QDir>
#include <QMessageBox>

namespace {

struct Texts
{
    QString text, informativeText, detailedText;
};

void present(QMessageBox::Icon icon, const Texts& texts, const QString& name, QWidget* parent)
{
    QMessageBox box(icon, QStringLiteral("Huelark"), texts.text, QMessageBox::Ok, parent);
    box.setObjectName(name);
    box.setInformativeText(texts.informativeText);
    if (!texts.detailedText.isEmpty())
        box.setDetailedText(texts.detailedText);
    box.exec();
}

Texts errorTexts(const HistoryStoreError& error, const QString& storePath)
{
    Texts texts;
    texts.text = error.localizedDescription;
    QStringList lines;
    if (!error.localizedFailureReason.isEmpty())
        lines << error.localizedFailureReason;
    lines << QStringLiteral("History store: %1").arg(QDir::toNativeSeparators(storePath));
    texts.informativeText = lines.join(QStringLiteral("\n\n"));
    if (error.underlyingError)
        texts.detailedText = error.underlyingError->description();
    return texts;
}

Texts recoveryTexts(const HistoryStore::Recovery& recovery)
{
    Texts texts;
    texts.text = QStringLiteral("The history store was damaged. Huelark has started a new, empty history.");
    texts.informativeText =
        QStringLiteral("The damaged file has been kept as:\n%1\n\nThe new history is %2.")
            .arg(QDir::toNativeSeparators(recovery.movedTo), QDir::toNativeSeparators(recovery.filePath));
    texts.detailedText = recovery.damage.description();
    return texts;
}

} // namespace

namespace HistoryStoreAlert {

void presentError(const HistoryStoreError& error, const QString& storePath, QWidget* parent)
{
    present(QMessageBox::Critical, errorTexts(error, storePath), QStringLiteral("historyStoreAlert"), parent);
}

void presentRecovery(const HistoryStore::Recovery& recovery, QWidget* parent)
{
    present(QMessageBox::Warning, recoveryTexts(recovery), QStringLiteral("historyStoreRecoveryAlert"), parent);
}

bool openStore(HistoryStore& store, QWidget* parent)
{
    if (const std::optional<HistoryStoreError> error = store.open()) {
        presentError(*error, store.filePath(), parent);
        return false;
    }
    if (const auto& recovery = store.recovery())
        presentRecovery(*recovery, parent);
    return true;
}

} // namespace HistoryStoreAlert
