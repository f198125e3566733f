#pragma once

#include "palettes/PaletteFile.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What the palettes window asks of the user and tells them: the desktop's
// file dialogs and messages, answered by tests instead.
struct PaletteDialogs
{
    std::function<QStringList(QWidget* window)> chooseImportFiles;
    std::function<QString(QWidget* window)> chooseImportFolder;
    // Empty when the user cancels; the dialog has asked before replacing.
    std::function<QString(QWidget* window, const QString& proposedName, PaletteFile::Format format)> chooseExportFile;
    std::function<void(QWidget* window, const QString& text, const QString& details)> tell;

    // Each dialog opens in the folder of the last file chosen.
    static PaletteDialogs desktop();
};
