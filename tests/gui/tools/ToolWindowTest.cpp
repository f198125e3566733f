#include "../app/AppHarness.h"

#include "settings/NotificationCenter.h"
#include "tools/DragDropView.h"
#include "tools/DropExtraction.h"
#include "tools/DropPreviewView.h"
#include "tools/GeneratorPaletteView.h"
#include "tools/LazyToolWindow.h"
#include "tools/RangeSlider.h"
#include "tools/ToolController.h"

#include <QBuffer>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

Color inverse(const Color& c)
{
    const auto [r, g, b] = c.integerComponents();
    return Color::fromIntegers(255 - r, 255 - g, 255 - b);
}

// Rows simple enough to check by eye: the base, its inverse, and the base
// with its inverse twice.
QList<ColorHarmonies::Row> harmonies(const Color& base)
{
    return {{"Base Color", "Base Color", {base}},
            {"Complementary Colors", "Complementary Colors", {base, inverse(base)}},
            {"Triadic Colors", "Triadic Colors", {base, inverse(base), inverse(base)}}};
}

// The distinct colours of the image's top row, left to right; an image two
// pixels high waits for the test to let it finish.
QSemaphore slowDrop;
DropColors extract(const DropJob& job)
{
    DropColors result;
    QList<QImage> images;
    if (!job.image.isNull())
        images << job.image;
    for (const QString& file : job.files) {
        QImage image(file);
        if (image.isNull())
            result.skipped << QFileInfo(file).fileName() + ": not an image";
        else
            images << image;
    }
    for (const QImage& image : images) {
        if (image.height() == 2)
            slowDrop.acquire();
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, 0);
            const Color color = Color::fromIntegers(pixel.red(), pixel.green(), pixel.blue());
            if (!result.colors.contains(color))
                result.colors << color;
        }
    }
    return result;
}

QImage stripe(const QList<QColor>& colors)
{
    QImage image(int(colors.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < colors.size(); ++x)
        image.setPixelColor(x, 0, colors[x]);
    return image;
}

class ToolWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.withStores = [this](AppParts& parts) {
            parts.tools = std::make_unique<LazyToolWindow>(ToolParts {app.settings(), app.registry(),
                                                                      *parts.wellColorSpace, app.notifications(),
                                                                      harmonies, extract, nullptr, {}, {}});
        };
        app.startWith({"ff0000", "00ff00"});
        tools = dynamic_cast<LazyToolWindow*>(app.app().appParts().tools.get());
        ASSERT_TRUE(tools);
    }

    ToolController& window() { return *tools->toolController(); }
    ToolController& open()
    {
        app.app().commands().action(WindowCommand::Tools)->trigger();
        return window();
    }
    void reopen()
    {
        window().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        open();
    }
    void drop(QMimeData* data)
    {
        QSignalSpy shown(&window(), &ToolController::dropShown);
        AppHarness::dropOn(window().dropArea, data, QPoint(20, 20));
        ASSERT_TRUE(shown.wait(2000));
    }
    QList<AppHarness::Code> preview() { return AppHarness::codes(window().colorArrayForSwatch("Drop Preview")); }

    AppHarness app;
    LazyToolWindow* tools = nullptr;
};

// What a part posted, one "name identifier action" line each.
struct Posted
{
    explicit Posted(NotificationCenter& center)
    {
        center.addObserver({}, &context, [this](const Notification& n) {
            lines << QStringList({n.name, n.userInfo.value("identifier").toString(),
                                  n.userInfo.value("action").toString()})
                         .join(u' ')
                         .trimmed();
        });
    }
    QStringList take() { return std::exchange(lines, {}); }

    QObject context;
    QStringList lines;
};

} // namespace

// The rows follow the main colour while the window is open; a click on a
// row (not on the base colour, nor a press let go elsewhere) replaces the
// swatch column, its menu's "add" appends what is new and "replace"
// replaces; the label names the row under the pointer, but for the preview.
// Folded, the window is shorter by the generator; a frame saved folded is
// not folded again at the next opening, and unfolding grows it back.
TEST_F(ToolWindowTest, RowsFollowTheColourAndGoIntoTheSwatchesAndTheGeneratorFolds)
{
    open();
    app.type(app.fields().hexField, "0000ff");
    EXPECT_EQ(AppHarness::codes(window().colorArrayForSwatch("Complementary Colors")),
              QList<AppHarness::Code>({"0000ff", "ffff00"}));

    QTest::mouseClick(window().row("Complementary Colors"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored(), QList<AppHarness::Code>({"0000ff", "ffff00"}));
    EXPECT_EQ(app.current(), "0000ff") << "the main colour stays";

    app.type(app.fields().hexField, "ff0000");
    window().row("Triadic Colors")->contextMenu()->actions()[0]->trigger(); // add
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored(), QList<AppHarness::Code>({"0000ff", "ffff00", "ff0000", "00ffff", "00ffff"}))
        << "what is new, the row's own repeats included";

    QTest::mouseClick(window().row("Base Color"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored().size(), 5) << "the base colour takes no clicks";
    QTest::mousePress(window().row("Triadic Colors"), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(window().row("Triadic Colors"), Qt::LeftButton, {}, QPoint(10, 90));
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored().size(), 5) << "a press let go below the row is no click";
    window().row("Complementary Colors")->contextMenu()->actions()[1]->trigger(); // replace
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored(), QList<AppHarness::Code>({"ff0000", "00ffff"}));

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(window().row("Drop Preview"), &enter);
    EXPECT_FALSE(window().swatchLabel->isVisibleTo(&window())) << "the preview keeps the label hidden";
    QCoreApplication::sendEvent(window().row("Triadic Colors"), &enter);
    EXPECT_TRUE(window().swatchLabel->isVisibleTo(&window()));
    EXPECT_EQ(window().swatchLabel->text(), ColorHarmonies::title("Triadic Colors"));

    const int full = window().height();
    window().toggleDragViewButton->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window().folding(); }));
    EXPECT_EQ(window().height(), full - ToolController::generatorHeight);
    reopen();
    EXPECT_EQ(window().height(), full - ToolController::generatorHeight);
    window().toggleDragViewButton->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window().folding(); }));
    EXPECT_EQ(window().height(), full);
}

// A dropped image fills the preview with its colours, all selected; the
// slider picks a run that the preview row hands over, and colours and run
// come back with the window. The newest drop wins over a slower earlier
// one, and a file that is no image is named under the area.
TEST_F(ToolWindowTest, DropsFillThePreviewAndTheSliderPicksTheRun)
{
    open();

    QMimeData image;
    image.setImageData(stripe({Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan}));
    drop(&image);
    EXPECT_EQ(window().dropPreviewView->count(), 5);
    EXPECT_EQ(app.settings().integerForKey("dropSliderEnd"), 5);

    window().slider->setStart(1);
    window().slider->setEnd(3);
    EXPECT_EQ(app.settings().integerForKey("dropSliderStart"), 1);
    EXPECT_EQ(app.settings().integerForKey("dropSliderEnd"), 3);
    EXPECT_TRUE(window().dropPreviewView->isDimmed(0));
    EXPECT_FALSE(window().dropPreviewView->isDimmed(2));
    EXPECT_TRUE(window().dropPreviewView->isDimmed(3));
    QTest::mouseClick(window().row("Drop Preview"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(app.stored(), QList<AppHarness::Code>({"00ff00", "0000ff"}));

    reopen();
    EXPECT_EQ(preview(), QList<AppHarness::Code>({"00ff00", "0000ff"}));
    EXPECT_TRUE(window().dropPreviewView->isDimmed(0));
    app.settings().setInteger(40, "dropSliderEnd");
    reopen();
    EXPECT_EQ(window().slider->end(), 5) << "a stored range is cut to the cells shown";

    // A slow drop, then a quick one: the quick one stays.
    QMimeData slow;
    slow.setImageData(stripe({Qt::magenta}).scaled(1, 2));
    AppHarness::dropOn(window().dropArea, &slow, QPoint(20, 20));
    QMimeData quick;
    quick.setImageData(stripe({Qt::white, Qt::black}));
    drop(&quick);
    slowDrop.release();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window().extracting(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(window().dropPreviewView->count(), 2);

    QTemporaryDir files;
    stripe({Qt::gray}).save(files.filePath("grey.png"));
    ASSERT_TRUE(put(files.filePath("notes.png"), "not an image"));
    QMimeData links;
    links.setUrls({QUrl::fromLocalFile(files.filePath("grey.png")), QUrl::fromLocalFile(files.filePath("notes.png"))});
    drop(&links);
    EXPECT_EQ(preview(), QList<AppHarness::Code>({"a0a0a4"}));
    EXPECT_TRUE(window().dropMessage->text().contains("notes.png")) << window().dropMessage->text().toStdString();

    // A window closed while a drop is worked on gets nothing.
    const QVariantList stored = app.settings().arrayForKey("dropColors");
    slow.setImageData(stripe({Qt::darkRed}).scaled(1, 2));
    AppHarness::dropOn(window().dropArea, &slow, QPoint(20, 20));
    window().close();
    slowDrop.release();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(app.settings().arrayForKey("dropColors"), stored);
}

// The program's own extraction: a picture's colours, and the files it
// could not read named with the reason, also when none could be read.
TEST(DropExtraction, NamesWhatItCouldNotRead)
{
    QTemporaryDir files;
    stripe({Qt::red, Qt::blue}).scaled(40, 40).save(files.filePath("two.png"));
    ASSERT_TRUE(put(files.filePath("notes.jpg"), "not a picture"));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    stripe({Qt::green}).save(&png, "PNG");

    const DropColors both = DropExtraction::extract({{}, {}, {files.filePath("two.png"), files.filePath("notes.jpg")}});
    EXPECT_EQ(AppHarness::codes(both.colors), QList<AppHarness::Code>({"0000ff", "ff0000"}));
    ASSERT_EQ(both.skipped.size(), 1);
    EXPECT_TRUE(both.skipped[0].startsWith("notes.jpg (")) << both.skipped[0].toStdString();
    const DropColors none = DropExtraction::extract({{}, {}, {files.filePath("notes.jpg")}});
    EXPECT_TRUE(none.colors.isEmpty());
    EXPECT_EQ(none.skipped.size(), 1);
    const DropColors data = DropExtraction::extract({png.data(), {}, {}});
    EXPECT_EQ(AppHarness::codes(data.colors), QList<AppHarness::Code>({"00ff00"}));
    EXPECT_TRUE(DropExtraction::extract({"not a picture", {}, {}}).skipped.size() == 1);
}

// The two knobs under the pointer, in a control 200 wide over 0..10 that
// snaps to whole numbers, starting at 2..7.
TEST(RangeSlider, PointerRules)
{
    struct Row
    {
        const char* what;
        QList<int> xs; // a press, then drags
        double start, end; // where they land
        int posts;
    };
    const Row rows[] = {
        {"the start knob to 34 %", {40, 68}, 3, 7, 1},
        {"the start knob past the end pushes it", {40, 68, 160}, 8, 8, 2},
        {"a click on the bar nearer the end moves the end", {120}, 2, 6, 1},
        {"half-way between the knobs moves the end", {90}, 2, 5, 1},
        {"beyond the right edge is the end", {140, 400}, 2, 10, 1},
        {"left of the left edge is the start", {40, -30}, 0, 7, 1},
        {"the end knob below the start pulls it", {140, 20}, 1, 1, 1},
    };
    NotificationCenter center;
    for (const Row& row : rows) {
        RangeSlider slider(center);
        slider.setObjectName("dropSlider");
        slider.resize(200, 20);
        slider.setMaxValue(10);
        slider.setSnapsToIntegers(true);
        slider.setStart(2);
        slider.setEnd(7);
        int posts = 0;
        slider.onControlChanged = [&posts](RangeSlider&) { ++posts; };
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(row.xs[0], 10));
        for (qsizetype i = 1; i < row.xs.size(); ++i) {
            QMouseEvent drag(QEvent::MouseMove, QPointF(row.xs[i], 10), QPointF(row.xs[i], 10), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&slider, &drag);
        }
        EXPECT_EQ(slider.start(), row.start) << row.what;
        EXPECT_EQ(slider.end(), row.end) << row.what;
        EXPECT_EQ(posts, row.posts) << row.what;
    }
}

// Setting values and ranges, and the cases that once gave fractions or
// divided by zero: whole numbers stay whole (15 of 22), an empty range and
// a control of no width select nothing.
TEST(RangeSlider, ValuesRangesAndWhatTheyPost)
{
    NotificationCenter center;
    Posted posted(center);
    RangeSlider slider(center);
    slider.setObjectName("dropSlider");
    slider.resize(220, 20);
    slider.setMaxValue(10);
    slider.setStart(2);
    slider.setEnd(6);
    EXPECT_EQ(posted.take().size(), 2);
    slider.setStart(2);
    EXPECT_TRUE(posted.take().isEmpty()) << "an unchanged value posts nothing";
    slider.setMaxValue(20);
    EXPECT_EQ(slider.start(), 4);
    EXPECT_EQ(slider.end(), 12);
    EXPECT_TRUE(posted.take().isEmpty()) << "a new range moves the values silently";

    slider.setMaxValue(22);
    slider.setSnapsToIntegers(true);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(150, 10)); // 150 / 220 × 22 = 15
    EXPECT_EQ(slider.end(), 15.0);

    slider.setMaxValue(0);
    slider.setStart(3);
    EXPECT_EQ(slider.start(), 0);
    slider.setMaxValue(10);
    slider.resize(0, 20);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(5, 10));
    QMouseEvent drag(QEvent::MouseMove, QPointF(9, 10), QPointF(9, 10), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &drag);
    EXPECT_EQ(slider.start(), 0);
    EXPECT_EQ(slider.end(), 0);
}

// What the drop area takes: a picture's bytes before file links (a program
// offering both means the picture), local files, never remote links.
TEST(DragDropView, TakesPicturesBeforeFilesAndOnlyLocalFiles)
{
    struct Row
    {
        const char* what;
        QByteArray png;
        QList<QUrl> urls;
        const char* posted; // "" when refused
        const char* type = "image/png";
    };
    const QUrl local = QUrl::fromLocalFile("/tmp/a.png");
    const Row rows[] = {
        {"a picture and its file", "PNGDATA", {local}, "imageDropped"},
        {"a local file", {}, {local}, "fileDropped"},
        {"a picture no reader here decodes, and its file", "DATA", {local}, "fileDropped", "image/x-unknown"},
        {"a remote link", {}, {QUrl("https://example.org/a.png")}, ""},
        {"a local file and a remote link", {}, {local, QUrl("https://example.org/a.png")}, ""},
        {"nothing of either", {}, {}, ""},
    };
    NotificationCenter center;
    Posted posted(center);
    DragDropView area(center);
    for (const Row& row : rows) {
        QMimeData data;
        if (!row.png.isEmpty())
            data.setData(row.type, row.png);
        data.setUrls(row.urls);
        data.setText("text");
        const bool accepted = DragDropView::acceptsData(&data);
        EXPECT_EQ(accepted, *row.posted != 0) << row.what;
        if (accepted)
            area.takeData(&data);
        EXPECT_EQ(posted.take(), *row.posted ? QStringList({row.posted}) : QStringList()) << row.what;
    }
}
