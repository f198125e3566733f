#include "LeadingInteger.h"

#include <climits>

int leadingInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }

    // Accumulate in 64 bits and stop growing once past the int range, so
    // any number of digits is safe.
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value <= limit)
            value = value * 10 + (text[i].unicode() - u'0');
    }
    if (value > limit)
        value = limit;
    return static_cast<int>(negative ? -value : value);
}
