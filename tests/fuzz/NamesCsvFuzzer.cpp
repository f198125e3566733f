#include "FuzzSupport.h"

#include "colour/ColorSpace.h"
#include "names/NamesDatabaseBuilder.h"

// The names CSV is downloaded: its lines, fields and codes are whatever the
// server sent. The table is built in memory, as a file would be.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = NamesDatabaseBuilder::linesFromCSV(FuzzSupport::bytes(data, size));
    const NamesDatabaseBuilder::Result result =
        NamesDatabaseBuilder::generateDatabaseFromCSV(lines, QStringLiteral(":memory:"), ColorSpace::sRGB());
    // Every stored row came from a line other than the header.
    if (result.status == NamesDatabaseBuilder::Result::Status::Built && result.rows > std::max<qsizetype>(0, lines.size() - 1))
        abort();
    return 0;
}
