// The full refresh of one colour: everything the main window recomputes when
// the colour changes (integer components, HSL, HSB, Lab, CMYK, hex and both
// code strings). It runs on every keystroke and every move of the colour
// picker, on the main thread.
//
// Each benchmark cycles through a few thousand different colours so that no
// result is reused from a previous iteration. The baseline (integer
// components and hex only) runs in the same program, so the refresh can be
// read as a multiple of it on whatever machine runs this.

#include "colour/ColorNotations.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <random>
#include <vector>

namespace {

const std::vector<Color>& colours()
{
    static const std::vector<Color> all = [] {
        std::mt19937 random(20240);
        std::uniform_int_distribution<int> component(0, 255);
        std::vector<Color> list;
        for (int i = 0; i < 4096; ++i)
            list.push_back(Color::fromIntegers(component(random), component(random), component(random)));
        return list;
    }();
    return all;
}

ColorSpacePtr profile(const char* path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return ColorSpace::fromICCProfile(file.readAll(), QStringLiteral("profile"));
}

void refresh(benchmark::State& state, const ColorSpacePtr& well, const ColorSpacePtr& cmyk)
{
    if (!well || !cmyk) {
        state.SkipWithError("profile not installed (colord-data, libgs-common)");
        return;
    }
    const std::vector<Color>& list = colours();
    std::size_t i = 0;
    for (auto _ : state) {
        auto notations = ColorNotations::of(list[i++ % list.size()], well, cmyk.get(), false);
        benchmark::DoNotOptimize(notations);
    }
    state.SetItemsProcessed(state.iterations());
}

void Baseline_IntegersAndHex(benchmark::State& state)
{
    const std::vector<Color>& list = colours();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto [r, g, b] = list[i++ % list.size()].integerComponents();
        QString hex = HexCodec::storedForm(r, g, b);
        benchmark::DoNotOptimize(hex);
    }
    state.SetItemsProcessed(state.iterations());
}

void Refresh_GenericCMYK(benchmark::State& state)
{
    refresh(state, ColorSpace::sRGB(), ColorSpace::genericCMYK());
}

void Refresh_IccCMYK(benchmark::State& state)
{
    static const ColorSpacePtr cmyk = profile("/usr/share/color/icc/ghostscript/default_cmyk.icc");
    refresh(state, ColorSpace::sRGB(), cmyk);
}

// Not a target, for the record: an ICC well space adds a transform to every
// conversion into it.
void Refresh_AdobeWell_IccCMYK(benchmark::State& state)
{
    static const ColorSpacePtr well = profile("/usr/share/color/icc/colord/AdobeRGB1998.icc");
    static const ColorSpacePtr cmyk = profile("/usr/share/color/icc/ghostscript/default_cmyk.icc");
    refresh(state, well, cmyk);
}

} // namespace

BENCHMARK(Baseline_IntegersAndHex);
BENCHMARK(Refresh_GenericCMYK);
BENCHMARK(Refresh_IccCMYK);
BENCHMARK(Refresh_AdobeWell_IccCMYK);

BENCHMARK_MAIN();
