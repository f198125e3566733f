#pragma once

#include "tools/LightGradientView.h"
#include "tools/ToolParts.h"

#include <QPointer>

#include <memory>

class DragDropView;
class DropPreviewView;
class GeneratorPaletteView;
class QLabel;
class QToolButton;
class QVariantAnimation;
class QVBoxLayout;
class RangeSlider;
class WindowFrameAutosave;
struct Notification;

// The tool window: the current colour, its harmonies and its lightness ramp
// as rows of wells that follow the main colour, and below them a palette
// generator that takes the dominant colours of dropped images. A click on a
// row replaces the swatch column with its colours; its menu can add them
// instead. The generator can be folded away, and the window shrinks by its
// height.
class ToolController : public LightGradientView
{
    Q_OBJECT

public:
    static constexpr int generatorHeight = 230;

    explicit ToolController(ToolParts& parts, QWidget* parent = nullptr);
    ~ToolController() override;

    void showAndRaise();

    // Recomputes every well from the main colour.
    void updateToolSwatches();
    // The colours a row hands over: its wells, or for "Drop Preview" the
    // selected run of the preview.
    QList<Color> colorArrayForSwatch(const QString& identifier) const;
    void loadPalette(const QList<Color>& colors, bool replace);

    // The generator.
    void populateDropPreview(const QList<Color>& colors);
    void restoreDropPreview();
    void configureSlider(int count);
    void resetSlider(int count);
    void redrawSelectedDropViews();
    void toggleDragView();
    void shouldShowDragView(bool show, bool animate);
    // A drop to extract; the newest drop's colours are the ones shown.
    void extractDrop(const DropJob& job);

    // The window's parts, for tests.
    QLabel* swatchLabel = nullptr;
    QToolButton* toggleDragViewButton = nullptr;
    DragDropView* dropArea = nullptr;
    DropPreviewView* dropPreviewView = nullptr;
    RangeSlider* slider = nullptr;
    QLabel* dropMessage = nullptr;
    GeneratorPaletteView* row(const QString& identifier) const;
    bool extracting() const { return pendingDrops > 0; }
    bool folding() const;

Q_SIGNALS:
    void windowWillClose();
    // A drop's colours are in the preview (or its files could not be read).
    void dropShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void observe();
    void showSwatchLabel(const Notification& notification);
    void rowChosen(const Notification& notification, bool fromMenu);
    void sliderChanged(const Notification& notification);
    void dropFinished(int number, const DropColors& result);
    void setGeneratorHeight(int height);

    ToolParts& parts;
    QVBoxLayout* swatchStackView = nullptr;
    QList<GeneratorPaletteView*> rows;
    QList<QList<Color>> rowColors;
    QWidget* generator = nullptr;
    GeneratorPaletteView* previewRow = nullptr;
    QList<Color> previewColors;
    QVariantAnimation* foldAnimation = nullptr;
    int shownGeneratorHeight = 0;
    int foldBase = 0; // the window's height without the generator, while folding
    std::unique_ptr<WindowFrameAutosave> frame;
    bool storingSlider = true;
    int dropNumber = 0;
    int pendingDrops = 0;
};
