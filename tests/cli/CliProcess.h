#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

#include "FileBytes.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

// One run of the built huelark-cli (its path in HUELARK_CLI).
struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;

    QStringList outLines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(u'\n', Qt::SkipEmptyParts); }
};

inline CliResult runCli(const QStringList& arguments,
                        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    CliResult result;
    const QString program = qEnvironmentVariable("HUELARK_CLI");
    if (program.isEmpty()) {
        ADD_FAILURE() << "HUELARK_CLI is not set";
        return result;
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    // Waits with the event loop turning: a test may serve HTTP meanwhile.
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    if (!finished.wait(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "huelark-cli did not finish normally: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// One whole answer, exactly: the exit status, stdout and the lines on stderr.
inline void expectCli(const QStringList& arguments, int exitCode, const QString& out, const QStringList& err = {})
{
    SCOPED_TRACE("huelark-cli " + arguments.join(u' ').toStdString());
    const CliResult r = runCli(arguments);
    EXPECT_EQ(r.exitCode, exitCode);
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.errLines(), err);
}

// The environment of a user whose home is `home`.
inline QProcessEnvironment environmentWithHome(const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/.config");
    environment.insert("XDG_DATA_HOME", home + "/.local/share");
    return environment;
}
