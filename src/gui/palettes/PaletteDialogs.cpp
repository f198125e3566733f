#include "PaletteDialogs.h"

#include "palettes/PaletteExchange.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <memory>

namespace {
QString tr(const char* text) { return QCoreApplication::translate("PaletteDialogs", text); }
}

PaletteDialogs PaletteDialogs::desktop()
{
    auto folder = std::make_shared<QString>(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString paletteFiles = tr("Palette files (*.clr *.ase *.json *.gpl *.CLR *.ASE *.JSON *.GPL)");
    PaletteDialogs dialogs;
    dialogs.chooseImportFiles = [folder, paletteFiles](QWidget* window) {
        const QStringList files =
            QFileDialog::getOpenFileNames(window, tr("Import Palettes"), *folder, paletteFiles);
        if (!files.isEmpty())
            *folder = QFileInfo(files.first()).absolutePath();
        return files;
    };
    dialogs.chooseImportFolder = [folder](QWidget* window) {
        const QString chosen =
            QFileDialog::getExistingDirectory(window, tr("Import the Palettes of a Folder"), *folder);
        if (!chosen.isEmpty())
            *folder = chosen;
        return chosen;
    };
    dialogs.chooseExportFile = [folder](QWidget* window, const QString& proposed, PaletteFile::Format format) {
        const QString extension = PaletteExchange::extension(format);
        const QString filter = tr("%1 files (*%2)").arg(extension.mid(1).toUpper(), extension);
        const QString chosen = QFileDialog::getSaveFileName(window, tr("Export Palette"),
                                                            QDir(*folder).filePath(proposed), filter);
        if (!chosen.isEmpty())
            *folder = QFileInfo(chosen).absolutePath();
        return chosen;
    };
    dialogs.tell = [](QWidget* window, const QString& text, const QString& details) {
        auto* box = new QMessageBox(QMessageBox::Warning, tr("Palettes"), text, QMessageBox::Ok, window);
        box->setInformativeText(details);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    return dialogs;
}
