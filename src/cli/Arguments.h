#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The options and operands of one command. Options may stand anywhere among
// the operands; "--name VALUE" and "--name=VALUE" are the same, and "--" ends
// the options. A repeated option keeps its last value.
struct Arguments
{
    QSet<QString> flags;            // given flags, e.g. "--json"
    QHash<QString, QString> values; // options that take a value, e.g. "--color-space"
    QStringList operands;
    bool help = false;              // "--help" or "-h" was given
    QString error;                  // a usage error, or empty

    // `flagNames` and `valueNames` are the options the command knows; any
    // other text starting with "-" is a usage error.
    static Arguments parse(const QStringList& arguments, const QStringList& flagNames, const QStringList& valueNames);
};
