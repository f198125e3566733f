#include "ExtractCommand.h"

#include "Arguments.h"
#include "Usage.h"

#include "tools/CCColorCube.h"
#include "tools/ImageHistogram.h"

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

const QString jsonOption = QStringLiteral("--json");
const QString countOption = QStringLiteral("--count");
const QString flagsOption = QStringLiteral("--flags");

constexpr int unreadableFile = 1;

std::optional<uint> wholeNumber(const Arguments& args, const QString& option, uint least, uint most)
{
    bool ok = false;
    const uint value = args.values.value(option).toUInt(&ok);
    if (!ok || value < least || value > most)
        return std::nullopt;
    return value;
}

QString hexCode(const CCLocalMaximum& m)
{
    return QStringLiteral("#%1%2%3")
        .arg(integerComponent(m.red), 2, 16, QLatin1Char('0'))
        .arg(integerComponent(m.green), 2, 16, QLatin1Char('0'))
        .arg(integerComponent(m.blue), 2, 16, QLatin1Char('0'))
        .toUpper();
}

// libpng writes its own "libpng error: …" straight to the standard error
// before Qt's reader gives up on a damaged PNG, and the one line the file
// gets already says why: while images are read, that output goes nowhere.
class QuietStandardError
{
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0)
            return;
        saved = ::dup(STDERR_FILENO);
        if (saved >= 0)
            ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    ~QuietStandardError()
    {
        if (saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved = -1;
};

} // namespace

namespace ExtractCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Arguments args = Arguments::parse(arguments, {jsonOption}, {countOption, flagsOption});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("extract"), Usage::Values::files, out, err))
        return *status;
    // The drop preview's one option, distinctOnly.
    unsigned flags = CCColorCube::distinctOnly;
    if (args.values.contains(flagsOption)) {
        const std::optional<uint> given = wholeNumber(args, flagsOption, 0, 127);
        if (!given)
            return Usage::printUsageError(err, QStringLiteral("--flags takes a number from 0 to 127"));
        flags = *given;
    }
    std::optional<uint> count;
    if (args.values.contains(countOption)) {
        count = wholeNumber(args, countOption, 1, 1'000'000);
        if (!count)
            return Usage::printUsageError(err, QStringLiteral("--count takes a whole number from 1"));
    }

    ImageHistogram::Stitching stitching;
    CCColorCube cube;
    CCColorCube::Maxima maxima;
    {
        err.flush();
        const QuietStandardError quiet;
        maxima = cube.extractAndFilterMaximaFromImage(ImageHistogram::stitchedFiles(args.operands, &stitching), flags)
                     .value_or(CCColorCube::Maxima{});
    }
    if (count)
        maxima = CCColorCube::performAdaptiveDistinctFilteringForMaxima(maxima, static_cast<int>(*count));
    for (const auto& [path, reading] : stitching.failures)
        Usage::printError(err, QStringLiteral("%1: %2").arg(path, reading.error));

    if (args.flags.contains(jsonOption)) {
        // Written by hand: the keys keep the documented order.
        out << "{\"pixels\":" << cube.cells().countedPixels() << ",\"colors\":[";
        for (size_t i = 0; i < maxima.size(); ++i)
            out << (i ? "," : "") << "{\"hex\":\"" << hexCode(maxima[i]) << "\",\"count\":" << maxima[i].hitCount
                << '}';
        out << "]}\n";
    } else {
        for (const CCLocalMaximum& m : maxima)
            out << hexCode(m) << '\n';
    }
    return stitching.failures.empty() ? Usage::success : unreadableFile;
}

} // namespace ExtractCommand
