#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

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
