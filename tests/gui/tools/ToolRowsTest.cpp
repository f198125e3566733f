#include "settings/NotificationCenter.h"
#include "tools/DragDropView.h"
#include "tools/GeneratorPaletteView.h"
#include "tools/RangeSlider.h"

#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QTest>

#include <gtest/gtest.h>

namespace {

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

// Where the slider's pointer rules land, with what it posted.
struct Slid
{
    double start, end;
    int posts;
};

} // namespace

// What each kind of row posts for what the user does: the base colour is no
// choice (no click), the preview keeps the label hidden (no enter), and a
// press dragged out of a row and let go elsewhere is no click.
TEST(GeneratorPaletteView, PostsWhatTheUserDidUnderItsIdentifier)
{
    NotificationCenter center;
    Posted posted(center);
    for (const QString& identifier : {QStringLiteral("Base Color"), QStringLiteral("Drop Preview"), QStringLiteral("Triad")}) {
        GeneratorPaletteView row(identifier, center);
        row.resize(200, 40);
        row.show();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&row, &enter);
        const bool lit = row.isHover();
        QTest::mouseClick(&row, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mousePress(&row, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&row, Qt::LeftButton, {}, QPoint(10, 90)); // let go below the row
        row.contextMenu()->actions()[0]->trigger();
        row.contextMenu()->actions()[1]->trigger();
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&row, &leave);

        const QString id = identifier;
        QStringList expected;
        if (id != "Drop Preview")
            expected << "enterHoverToolSwatch " + id;
        if (id != "Base Color")
            expected << "clickedHoverToolSwatch " + id;
        expected << "clickedGeneratorMenu " + id + " add" << "clickedGeneratorMenu " + id + " replace"
                 << "exitHoverToolSwatch";
        EXPECT_EQ(posted.take(), expected) << id.toStdString();
        EXPECT_EQ(lit, id != "Base Color") << id.toStdString();
        EXPECT_EQ(row.toolTip().isEmpty(), id == "Base Color") << id.toStdString();
    }
}

// The two knobs under the pointer, in a control 200 wide over 0..10 that
// snaps to whole numbers, starting at 2..7.
TEST(RangeSlider, PointerRules)
{
    struct Row
    {
        const char* what;
        QList<int> xs; // a press, then drags
        Slid slid;
    };
    const Row rows[] = {
        {"the start knob to 34 %", {40, 68}, {3, 7, 1}},
        {"the start knob past the end pushes it", {40, 68, 160}, {8, 8, 2}},
        {"a click on the bar nearer the end moves the end", {120}, {2, 6, 1}},
        {"half-way between the knobs moves the end", {90}, {2, 5, 1}},
        {"beyond the right edge is the end", {140, 400}, {2, 10, 1}},
        {"left of the left edge is the start", {40, -30}, {0, 7, 1}},
        {"the end knob below the start pulls it", {140, 20}, {1, 1, 1}},
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
        EXPECT_EQ(slider.start(), row.slid.start) << row.what;
        EXPECT_EQ(slider.end(), row.slid.end) << row.what;
        EXPECT_EQ(posts, row.slid.posts) << row.what;
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
