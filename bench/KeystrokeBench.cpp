// One keystroke in the main window's hex field until every other field has
// been rewritten: the key event goes through the real QLineEdit, its
// validator, the field synchronisation and every setText of the window (the
// repaint that follows is left to the event loop and not counted). The aim is
// a median at or below 1 ms.
//
// The baseline in the same run is the arithmetic alone (ColorNotations::of
// for the same colours), so the widgets' share can be read off as a ratio.
//
// Each iteration types the sixth digit of a different code, so every
// keystroke changes the colour. The same keystroke is measured again with the
// tool window open, whose rows (the harmonies and the lightness ramp) follow
// every change: keystroke to every field and every well, at most 2 ms.

#include "app/AppDelegate.h"
#include "app/ColorPanel.h"
#include "app/MainWindow.h"
#include "app/SwatchWell.h"
#include "colour/ColorNotations.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/FieldSync.h"
#include "colour/HexCodec.h"
#include "colour/ValueField.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"
#include "tools/LazyToolWindow.h"
#include "tools/ToolController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <random>
#include <vector>

namespace {

const std::vector<QString>& codes()
{
    static const std::vector<QString> all = [] {
        std::mt19937 random(4711);
        std::uniform_int_distribution<int> component(0, 0xffffff);
        std::vector<QString> list;
        for (int i = 0; i < 4096; ++i)
            list.push_back(QStringLiteral("%1").arg(component(random), 6, 16, QLatin1Char('0')));
        return list;
    }();
    return all;
}

void keyClick(QWidget* field, QChar character)
{
    const int key = character.isDigit() ? Qt::Key_0 + character.digitValue() : Qt::Key_A + (character.toLatin1() - 'a');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
    QApplication::sendEvent(field, &press);
    QApplication::sendEvent(field, &release);
}

struct Program
{
    explicit Program(bool withTools)
    {
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
        qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
        defaults = std::make_unique<UserDefaults>();
        AppDelegate::initialize(*defaults);
        AppDelegate::Options options;
        options.terminate = [] {};
        AppParts parts;
        parts.buildStores(*defaults, spaces, *parts.names);
        if (withTools)
            parts.buildTools(*defaults, spaces, center);
        delegate = std::make_unique<AppDelegate>(*defaults, spaces, center, std::move(parts), std::move(options));
        delegate->launch();
        if (withTools)
            delegate->openToolWindow();
        // The colour panel follows the colour too, but only one program's
        // panel can be the shown one: without it the two compare alike.
        delegate->colorPanel().close();
        QCoreApplication::processEvents();
    }
    QTemporaryDir home;
    std::unique_ptr<UserDefaults> defaults;
    ColorSpaceRegistry spaces;
    NotificationCenter center;
    std::unique_ptr<AppDelegate> delegate;
};

Program& program(bool withTools = false)
{
    static Program plain(false);
    static Program tools(true);
    return withTools ? tools : plain;
}

void typeHexDigits(benchmark::State& state, Program& p)
{
    ValueField* hex = p.delegate->window().fields.hexField;
    ValueField* red = p.delegate->window().fields.rField;
    const std::vector<QString>& list = codes();
    std::size_t i = 0;
    for (auto _ : state) {
        const QString& code = list[i++ % list.size()];
        state.PauseTiming();
        hex->setText(code.left(5));
        hex->setCursorPosition(5);
        state.ResumeTiming();
        keyClick(hex, code.at(5));
        benchmark::DoNotOptimize(red->text());
    }
    if (hex->text() != list[(i - 1) % list.size()] || red->text().isEmpty())
        state.SkipWithError("the keystroke did not reach the fields");
    state.SetItemsProcessed(state.iterations());
}

void HexKeystroke_EveryFieldRewritten(benchmark::State& state)
{
    typeHexDigits(state, program());
}

void HexKeystroke_ToolWindowOpen_EveryFieldAndWell(benchmark::State& state)
{
    Program& p = program(true);
    auto* tools = dynamic_cast<LazyToolWindow*>(p.delegate->appParts().tools.get());
    if (!tools || !tools->isOpen()) {
        state.SkipWithError("the tool window did not open");
        return;
    }
    typeHexDigits(state, p);
    // The wells followed every keystroke: the base colour is the last typed.
    const QList<Color> base = tools->toolController()->colorArrayForSwatch(QStringLiteral("Base Color"));
    const QString typed = p.delegate->window().fields.hexField->text();
    if (base.isEmpty() || HexCodec::hexCodeForColor(base.first(), ColorSpace::sRGB()).value_or(QString()) != typed)
        state.SkipWithError("the tool window's wells did not follow the keystrokes");
}

void Baseline_NotationsArithmeticOnly(benchmark::State& state)
{
    Program& p = program();
    const ColorSpacePtr well = p.delegate->fieldSync().wellColorSpace();
    const ColorSpacePtr cmyk = p.spaces.cmykSpaceNamed(QString());
    const std::vector<QString>& list = codes();
    std::size_t i = 0;
    for (auto _ : state) {
        const uint value = list[i++ % list.size()].toUInt(nullptr, 16);
        const Color color = Color::fromIntegers(int(value >> 16), int(value >> 8 & 0xff), int(value & 0xff));
        auto notations = ColorNotations::of(color, well, cmyk.get(), false);
        benchmark::DoNotOptimize(notations);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(Baseline_NotationsArithmeticOnly);
BENCHMARK(HexKeystroke_EveryFieldRewritten);
BENCHMARK(HexKeystroke_ToolWindowOpen_EveryFieldAndWell);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
