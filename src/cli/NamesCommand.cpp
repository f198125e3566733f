#include "NamesCommand.h"

#include "Arguments.h"
#include "Usage.h"

#include "names/NamesDatabase.h"
#include "names/NamesDatabaseBuilder.h"
#include "names/NamesDatabaseUpdater.h"

#include "colour/ColorSpaceRegistry.h"
#include "settings/DefaultsKeys.h"
#include "settings/Paths.h"
#include "settings/UserDefaults.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

namespace {

const QString apiOption = QStringLiteral("--api");
const QString cdnOption = QStringLiteral("--cdn");

int build(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    if (operands.size() != 2)
        return Usage::printUsageError(err, QStringLiteral("names build needs CSV and DB"));
    const QString& csvPath = operands[0];
    const QString database = QFileInfo(operands[1]).absoluteFilePath();

    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        Usage::printError(err, QStringLiteral("cannot read \"%1\": %2").arg(csvPath, csv.errorString()));
        return Usage::failure;
    }
    const QStringList lines = NamesDatabaseBuilder::linesFromCSV(csv.readAll());

    // Built beside the target and swapped in whole, so that an interrupted
    // build never leaves a half-written database where a good one was.
    const QString building = database + QStringLiteral(".building");
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
    const NamesDatabaseBuilder::Result result =
        NamesDatabaseBuilder::generateDatabaseFromCSV(lines, building, ColorSpace::sRGB());
    QString error;
    if (result.status != NamesDatabaseBuilder::Result::Status::Built || result.rows == 0
        || !NamesDatabase::replaceDBFile(building, database, &error)) {
        QFile::remove(building);
        if (error.isEmpty())
            error = result.rows == 0 && result.error.isEmpty() ? QStringLiteral("no colour names in \"%1\"").arg(csvPath)
                                                               : result.error;
        Usage::printError(err, error);
        return Usage::failure;
    }
    out << result.rows << " names in " << database << '\n';
    return Usage::success;
}

int update(const Arguments& args, QTextStream& err)
{
    if (!args.operands.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("names update takes no operands"));

    UserDefaults defaults;
    NamesDatabase database(defaults, Paths::applicationSupportFolder(), NamesDatabase::shippedDatabasePath());
    NamesDatabaseUpdater updater(database, defaults);
    updater.setAPIHost(args.values.value(apiOption));
    updater.setCDNHost(args.values.value(cdnOption));
    // The database is the window's, whose lookups compare integers of its
    // own colour space: the codes are read into that space, as an update
    // from the Names preferences reads them.
    updater.setWellColorSpace(ColorSpaceRegistry().rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace)));

    QEventLoop loop;
    NamesDatabaseUpdater::Outcome outcome = NamesDatabaseUpdater::Outcome::Failed;
    QObject::connect(&updater, &NamesDatabaseUpdater::updatedLabelChanged, &loop, [&err](const QString& text) {
        err << text << '\n';
        err.flush();
    });
    QObject::connect(&updater, &NamesDatabaseUpdater::finished, &loop,
                     [&loop, &outcome](NamesDatabaseUpdater::Outcome result) {
                         outcome = result;
                         loop.quit();
                     });
    updater.startDownload();
    if (updater.state() != NamesDatabaseUpdater::State::Idle)
        loop.exec();

    if (outcome == NamesDatabaseUpdater::Outcome::Installed)
        err << updater.namesCount() << '\n';
    const bool done = outcome == NamesDatabaseUpdater::Outcome::Installed
        || outcome == NamesDatabaseUpdater::Outcome::Current;
    return done ? Usage::success : Usage::failure;
}

} // namespace

namespace NamesCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Arguments args = Arguments::parse(arguments, {}, {apiOption, cdnOption});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("names"), Usage::Values::any, out, err))
        return *status;
    const QString action = args.operands.value(0);
    const QStringList operands = args.operands.mid(1);
    if (action == u"build") {
        if (args.values.contains(apiOption) || args.values.contains(cdnOption))
            return Usage::printUsageError(err, QStringLiteral("names build takes no --api or --cdn"));
        return build(operands, out, err);
    }
    if (action == u"update") {
        Arguments rest = args;
        rest.operands = operands;
        return update(rest, err);
    }
    if (action.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("names needs build or update"));
    return Usage::printUsageError(err, QStringLiteral("unknown names command \"%1\"").arg(action));
}

} // namespace NamesCommand
