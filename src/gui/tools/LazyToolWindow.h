#pragma once

#include "tools/ToolParts.h"
#include "tools/ToolWindow.h"

#include <QObject>
#include <QPointer>

class ToolController;

// The tool window, made when it is first opened and dropped when it
// closes; everything it works with outlives it here.
class LazyToolWindow final : public QObject, public ToolWindow
{
    Q_OBJECT

public:
    explicit LazyToolWindow(ToolParts parts, QObject* parent = nullptr);
    ~LazyToolWindow() override;

    bool available() const override { return true; }
    bool isOpen() const override;
    void openToolWindow() override;
    void releaseToolWindow() override;
    void updateToolSwatches() override;
    void setSwatches(CurrentColors& colors, std::function<Color()> mainColor,
                     std::function<void()> showLastSwatch) override;

    ToolController* toolController() const;

private:
    ToolParts parts;
    QPointer<ToolController> controller;
};
