#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares. Readers log every malformed input they
// refuse; millions of those lines would drown the one report that matters,
// so only fatal messages get through.
namespace FuzzSupport {

inline void quietLogs()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            fprintf(stderr, "%s\n", qPrintable(message));
            abort();
        }
    });
}

// The input without a copy; valid for the call only.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace FuzzSupport

// Every target starts with the quiet logs; one target is one translation
// unit, so this definition is made once per program.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietLogs();
    return 0;
}
