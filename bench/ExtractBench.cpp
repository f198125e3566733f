// Dominant colours of a 24-megapixel photograph (6000 × 4000).
//
// The histogram must run near the memory bandwidth, so it is measured in
// pixels a second against memcpy over the same buffer, and against the
// plain per-pixel double loop it must agree with (tests/core/tools); all in
// one run, so the ratios hold on any machine. From a file: a JPEG file of
// the same photograph to its palette, against decoding it alone from memory
// with the same decoder and settings (rows into a strip buffer that is
// thrown away).
// Wall-clock time throughout: the histogram runs on every core.

#include "../tests/core/tools/ReferenceCube.h"
#include "../tests/core/tools/TestImages.h"

#include "tools/CCColorCube.h"
#include "tools/ImageHistogram.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QImageWriter>

#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace {

constexpr int width = 6000, height = 4000;

const QImage& photo()
{
    static const QImage image = photoLike(width, height, 42).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    return image;
}

const QByteArray& photoJpeg()
{
    static const QByteArray bytes = [] {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        writer.write(photoLike(width, height, 42).convertToFormat(QImage::Format_RGB32));
        return out;
    }();
    return bytes;
}

ColorHistogram::Pixels pixelsOf(const QImage& image)
{
    return {image.constBits(), image.width(), image.height(), image.bytesPerLine(),
            ColorHistogram::PixelLayout::rgbaPremultiplied};
}

void perPixel(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * qint64(width) * height);
}

void Memcpy(benchmark::State& state)
{
    const QImage& source = photo();
    std::vector<uchar> target(size_t(source.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(target.data(), source.constBits(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReferenceLoop(benchmark::State& state)
{
    const QImage& source = photo();
    for (auto _ : state) {
        ReferenceCube cube;
        cube.count(source.constBits(), qint64(width) * height);
        benchmark::DoNotOptimize(cube.hits.data());
    }
    perPixel(state);
}
BENCHMARK(ReferenceLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void FastHistogram(benchmark::State& state)
{
    const QImage& source = photo();
    for (auto _ : state) {
        ColorHistogram histogram;
        histogram.addPixels(pixelsOf(source));
        benchmark::DoNotOptimize(histogram.countedPixels());
    }
    perPixel(state);
}
BENCHMARK(FastHistogram)->Unit(benchmark::kMillisecond)->UseRealTime();

void FastHistogramOneThread(benchmark::State& state)
{
    const QImage& source = photo();
    for (auto _ : state) {
        ColorHistogram histogram;
        ColorHistogram::StripCounter counter(histogram);
        counter.addRows(pixelsOf(source));
        counter.commit();
        benchmark::DoNotOptimize(histogram.countedPixels());
    }
    perPixel(state);
}
BENCHMARK(FastHistogramOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void FastHistogramRandomPixels(benchmark::State& state)
{
    static const QImage noise = randomImage(width, height, 43);
    for (auto _ : state) {
        ColorHistogram histogram;
        histogram.addPixels(pixelsOf(noise));
        benchmark::DoNotOptimize(histogram.countedPixels());
    }
    perPixel(state);
}
BENCHMARK(FastHistogramRandomPixels)->Unit(benchmark::kMillisecond)->UseRealTime();

void FastHistogramRandomPixelsOneThread(benchmark::State& state)
{
    static const QImage noise = randomImage(width, height, 43);
    for (auto _ : state) {
        ColorHistogram histogram;
        ColorHistogram::StripCounter counter(histogram);
        counter.addRows(pixelsOf(noise));
        counter.commit();
        benchmark::DoNotOptimize(histogram.countedPixels());
    }
    perPixel(state);
}
BENCHMARK(FastHistogramRandomPixelsOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void JpegDecodeAlone(benchmark::State& state)
{
    const QByteArray& jpeg = photoJpeg();
    std::vector<uchar> strip(size_t(4) * width * 32);
    for (auto _ : state) {
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_RGBX;
        jpeg_start_decompress(&info);
        JSAMPROW rows[32];
        for (int i = 0; i < 32; ++i)
            rows[i] = strip.data() + size_t(4) * width * i;
        while (info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, rows, 32);
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(strip.data());
    }
    perPixel(state);
}
BENCHMARK(JpegDecodeAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

void JpegFileToPalette(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("photo.jpg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(photoJpeg()) != photoJpeg().size() || !file.flush()) {
        state.SkipWithError("cannot write the JPEG file");
        return;
    }
    file.close();
    for (auto _ : state) {
        CCColorCube cube;
        const std::vector<Color> colors = cube.extractColorsFromImage(
            [&](ColorHistogram& cells) { return ImageHistogram::addFile(cells, path).ok; }, CCColorCube::distinctOnly);
        benchmark::DoNotOptimize(colors.data());
    }
    perPixel(state);
}
BENCHMARK(JpegFileToPalette)->Unit(benchmark::kMillisecond)->UseRealTime();

void JpegDecodeByQt(benchmark::State& state)
{
    const QByteArray& jpeg = photoJpeg();
    for (auto _ : state) {
        QImage image = QImage::fromData(jpeg, "jpeg");
        benchmark::DoNotOptimize(image.constBits());
    }
    perPixel(state);
}
BENCHMARK(JpegDecodeByQt)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
