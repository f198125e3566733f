#include "LazyToolWindow.h"

#include "tools/ToolController.h"

LazyToolWindow::LazyToolWindow(ToolParts toolParts, QObject* parent)
    : QObject(parent)
    , parts(std::move(toolParts))
{
}

LazyToolWindow::~LazyToolWindow()
{
    delete controller.data();
}

bool LazyToolWindow::isOpen() const
{
    return !controller.isNull();
}

ToolController* LazyToolWindow::toolController() const
{
    return controller.data();
}

void LazyToolWindow::openToolWindow()
{
    if (controller) {
        controller->showAndRaise();
        return;
    }
    controller = new ToolController(parts);
    // Forgotten at once: opened again before it is gone, a new one comes.
    connect(controller, &ToolController::windowWillClose, this, [this] {
        if (ToolController* closing = controller.data()) {
            controller = nullptr;
            closing->deleteLater();
        }
    });
    controller->showAndRaise();
}

void LazyToolWindow::releaseToolWindow()
{
    const QPointer<ToolController> closing = controller;
    if (!closing)
        return;
    closing->close(); // saves its frame
    delete closing.data();
}

void LazyToolWindow::updateToolSwatches()
{
    if (controller)
        controller->updateToolSwatches();
}

void LazyToolWindow::setSwatches(CurrentColors& colors, std::function<Color()> mainColor,
                                 std::function<void()> showLastSwatch)
{
    parts.swatches = &colors;
    parts.mainColor = std::move(mainColor);
    parts.showLastSwatch = std::move(showLastSwatch);
}
