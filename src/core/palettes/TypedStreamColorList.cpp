#include "TypedStreamColorList.h"

#include "ClrColor.h"

#include <QList>
#include <QtEndian>

#include <cmath>
#include <optional>
#include <vector>

namespace TypedStreamColorList {

namespace {

const QByteArray signature("\x04\x0bstreamtyped", 13);

constexpr uchar tagInt16 = 0x81, tagInt32 = 0x82, tagReal = 0x83, tagNew = 0x84, tagNil = 0x85, tagEnd = 0x86;
// The first shared entry is referred to as 0x92, -110 as a signed byte;
// entries beyond the one-byte range continue through the integer forms.
constexpr qint64 firstReference = -110;
// What a colour list needs, with room to spare. Every limit keeps what a
// damaged file can make us hold or do in proportion to a real list.
constexpr int maximumNesting = 8;       // a named colour's fallback inside it
constexpr int maximumValues = 64;       // per object and per top-level group
constexpr qsizetype maximumShared = 500'000; // two per colour, and a few classes
constexpr int maximumClassChain = 32;

// What an object holds, as far as a colour list needs it: the numbers, the
// objects (-1 for nil) and the bytes of its values, in order.
struct Values
{
    QList<double> numbers;
    QList<qsizetype> objects;
    QByteArray text;
    int count = 0;
};

// A class or an object in the shared table; classes and objects share it,
// strings (type codes and class names) have their own.
struct Shared
{
    bool isClass = false;
    QByteArray name;        // of a class
    qsizetype parent = -1;  // a class's superclass, an object's class
    Values values;
};

class Stream
{
public:
    explicit Stream(QByteArrayView bytes)
        : data(bytes)
    {
    }

    QString error;
    std::vector<Shared> shared;

    bool atEnd() const { return pos == data.size(); }

    bool header()
    {
        pos = signature.size();
        return integer().has_value(); // the system version, of no use here
    }

    // One type code and the values it announces.
    bool group(Values& into)
    {
        const std::optional<QByteArray> type = sharedString();
        if (!type)
            return false;
        if (type->isEmpty())
            return fail(QStringLiteral("a value has no type"));
        for (const char code : *type) {
            if (++into.count > maximumValues)
                return fail(QStringLiteral("an object holds more values than any colour"));
            if (!value(code, into))
                return false;
        }
        return true;
    }

    // The object a value refers to, or -1 for nil.
    std::optional<qsizetype> object(int depth)
    {
        const std::optional<uchar> head = take();
        if (!head)
            return std::nullopt;
        if (*head == tagNil)
            return qsizetype(-1);
        if (*head != tagNew) {
            const std::optional<qsizetype> index = reference(*head, qsizetype(shared.size()));
            if (index && shared[*index].isClass)
                return failed(QStringLiteral("a reference to an object leads to a class"));
            return index;
        }
        if (depth > maximumNesting)
            return failed(QStringLiteral("its objects nest too deeply"));
        const qsizetype index = enter(Shared {});
        if (index < 0)
            return std::nullopt;
        const std::optional<qsizetype> cls = classChain();
        if (!cls)
            return std::nullopt;
        if (*cls < 0)
            return failed(QStringLiteral("an object has no class"));
        Values values;
        for (;;) {
            const std::optional<uchar> next = peek();
            if (!next)
                return failed(QStringLiteral("it ends inside an object"));
            if (*next == tagEnd)
                break;
            if (!group(values, depth + 1))
                return std::nullopt;
        }
        ++pos;
        shared[index].parent = *cls;
        shared[index].values = std::move(values);
        return index;
    }

    // Whether the class of object `index`, or one it descends from, is `name`.
    bool isA(qsizetype index, QByteArrayView name) const
    {
        if (index < 0)
            return false;
        qsizetype cls = shared[index].parent;
        for (int step = 0; cls >= 0 && step < maximumClassChain; ++step, cls = shared[cls].parent)
            if (shared[cls].name == name)
                return true;
        return false;
    }

private:
    bool fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }

    std::nullopt_t failed(const QString& message)
    {
        fail(message);
        return std::nullopt;
    }

    std::optional<uchar> peek()
    {
        if (pos >= data.size())
            return failed(QStringLiteral("it is cut short"));
        return uchar(data[pos]);
    }

    std::optional<uchar> take()
    {
        const std::optional<uchar> b = peek();
        if (b)
            ++pos;
        return b;
    }

    std::optional<QByteArrayView> bytes(qint64 count)
    {
        if (count < 0 || count > data.size() - pos)
            return failed(QStringLiteral("a length runs past the end of the file"));
        const QByteArrayView view = data.sliced(pos, count);
        pos += count;
        return view;
    }

    // One signed byte, or a tag and two or four little-endian bytes.
    std::optional<qint64> integerAfter(uchar head)
    {
        if (head == tagInt16 || head == tagInt32) {
            const std::optional<QByteArrayView> b = bytes(head == tagInt16 ? 2 : 4);
            if (!b)
                return std::nullopt;
            return head == tagInt16 ? qint64(qFromLittleEndian<qint16>(b->data()))
                                    : qint64(qFromLittleEndian<qint32>(b->data()));
        }
        if (head >= 0x80 && head <= 0x91)
            return failed(QStringLiteral("byte %1 is not a number where one belongs").arg(pos));
        return qint64(qint8(head));
    }

    std::optional<qint64> integer()
    {
        const std::optional<uchar> head = take();
        return head ? integerAfter(*head) : std::nullopt;
    }

    // A float or a double; 0 and 1 and other whole numbers may be written as
    // integers.
    std::optional<double> real(bool isDouble)
    {
        const std::optional<uchar> head = take();
        if (!head)
            return std::nullopt;
        if (*head != tagReal) {
            const std::optional<qint64> whole = integerAfter(*head);
            return whole ? std::optional<double>(double(*whole)) : std::nullopt;
        }
        const std::optional<QByteArrayView> b = bytes(isDouble ? 8 : 4);
        if (!b)
            return std::nullopt;
        return isDouble ? qFromLittleEndian<double>(b->data()) : double(qFromLittleEndian<float>(b->data()));
    }

    std::optional<qsizetype> reference(uchar head, qsizetype tableSize)
    {
        const std::optional<qint64> number = integerAfter(head);
        if (!number)
            return std::nullopt;
        const qint64 index = *number - firstReference;
        if (index < 0 || index >= tableSize)
            return failed(QStringLiteral("a reference at byte %1 leads nowhere").arg(pos));
        return qsizetype(index);
    }

    qsizetype enter(Shared entry)
    {
        if (qsizetype(shared.size()) + qsizetype(strings.size()) >= maximumShared) {
            fail(QStringLiteral("it holds more objects than a colour list of its size can"));
            return -1;
        }
        shared.push_back(std::move(entry));
        return qsizetype(shared.size()) - 1;
    }

    // A string of the string table: new, a reference, or nil (a null array).
    std::optional<QByteArray> sharedString()
    {
        const std::optional<uchar> head = take();
        if (!head)
            return std::nullopt;
        if (*head == tagNil)
            return QByteArray();
        if (*head != tagNew) {
            const std::optional<qsizetype> index = reference(*head, qsizetype(strings.size()));
            return index ? std::optional<QByteArray>(strings[*index]) : std::nullopt;
        }
        const std::optional<qint64> length = integer();
        const std::optional<QByteArrayView> text = length ? bytes(*length) : std::nullopt;
        if (!text)
            return std::nullopt;
        if (qsizetype(shared.size()) + qsizetype(strings.size()) >= maximumShared)
            return failed(QStringLiteral("it holds more strings than a colour list of its size can"));
        strings.push_back(text->toByteArray());
        return strings.back();
    }

    // A class and the classes it descends from, read in a loop: a chain of
    // new classes is as long as the file makes it. -1 for nil.
    std::optional<qsizetype> classChain()
    {
        qsizetype first = -1, previous = -1;
        for (;;) {
            const std::optional<uchar> head = take();
            if (!head)
                return std::nullopt;
            qsizetype index = -1;
            if (*head == tagNew) {
                const std::optional<QByteArray> name = sharedString();
                if (!name || !integer()) // the name, then the class's version
                    return std::nullopt;
                index = enter(Shared {true, *name, -1, {}});
                if (index < 0)
                    return std::nullopt;
            } else if (*head != tagNil) {
                const std::optional<qsizetype> found = reference(*head, qsizetype(shared.size()));
                if (!found)
                    return std::nullopt;
                if (!shared[*found].isClass)
                    return failed(QStringLiteral("a reference to a class leads to an object"));
                index = *found;
            }
            if (previous >= 0)
                shared[previous].parent = index;
            if (first < 0)
                first = index;
            if (*head != tagNew)
                return first;
            previous = index; // its superclass follows
        }
    }

    bool value(char code, Values& into)
    {
        switch (code) {
        case 'c': case 'C': case 's': case 'S': case 'i': case 'I': case 'l': case 'L': case 'q': case 'Q': case 'B': {
            const std::optional<qint64> n = integer();
            if (n)
                into.numbers.append(double(*n));
            return n.has_value();
        }
        case 'f': case 'd': {
            const std::optional<double> r = real(code == 'd');
            if (r)
                into.numbers.append(*r);
            return r.has_value();
        }
        case '@': {
            const std::optional<qsizetype> o = object(nesting);
            if (o)
                into.objects.append(*o);
            return o.has_value();
        }
        case '#':
            return classChain().has_value();
        case '*': case ':': case '%': { // older streams hold a string's text as a C string
            const std::optional<QByteArray> s = sharedString();
            if (s && into.text.isEmpty())
                into.text = *s;
            return s.has_value();
        }
        case '+': {
            const std::optional<qint64> length = integer();
            const std::optional<QByteArrayView> b = length ? bytes(*length) : std::nullopt;
            if (b)
                into.text = b->toByteArray();
            return b.has_value();
        }
        default:
            return fail(QStringLiteral("it holds a value of type '%1', which no colour list has")
                            .arg(QChar::fromLatin1(code)));
        }
    }

    bool group(Values& into, int depth)
    {
        const int saved = nesting;
        nesting = depth;
        const bool ok = group(into);
        nesting = saved;
        return ok;
    }

    QByteArrayView data;
    qsizetype pos = 0;
    int nesting = 0;
    std::vector<QByteArray> strings;
};

// The sRGB colour of an NSColor object: its first number is its kind, the
// numbers after it its components; a named colour falls back to the last
// colour among its objects.
std::optional<Color> colourOf(const Stream& stream, qsizetype index, QString& why, int fallbacks = 0)
{
    const Values& v = stream.shared[index].values;
    if (v.numbers.isEmpty()) {
        why = QStringLiteral("it names no kind of colour");
        return std::nullopt;
    }
    const double kind = v.numbers.first();
    if (kind == double(ClrColor::Named)) {
        for (qsizetype i = v.objects.size() - 1; i >= 0; --i)
            if (stream.isA(v.objects[i], "NSColor") && fallbacks < 4)
                return colourOf(stream, v.objects[i], why, fallbacks + 1);
        why = QStringLiteral("the named colour has no fallback colour");
        return std::nullopt;
    }
    if (ClrColor::componentCount(kind >= 1 && kind <= 5 ? int(kind) : 0) == 0) {
        why = QStringLiteral("its kind %1 is not one this reader knows").arg(kind);
        return std::nullopt;
    }
    const std::optional<Color> colour =
        ClrColor::fromComponents(int(kind), std::vector<double>(v.numbers.begin() + 1, v.numbers.end()));
    if (!colour)
        why = QStringLiteral("its components are too few or not finite");
    return colour;
}

} // namespace

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    if (!bytes.startsWith(signature))
        return PaletteReadResult::refused(
            QStringLiteral("This is not a colour list: it does not begin as a typed stream does."));
    Stream stream(bytes);
    PaletteReadResult result;
    if (!stream.header()) {
        result.noteDamage(QStringLiteral("The colour list is cut short inside its header."));
        return result;
    }

    // Top-level values: the count, then pairs of a colour and its key. A
    // colour waits for the key that follows it.
    std::optional<double> count; // a float in a damaged file, so never cast
    qsizetype colours = 0;
    qsizetype pending = -1; // the colour waiting for its key
    while (!stream.atEnd()) {
        Values values;
        if (!stream.group(values))
            break;
        if (colours == 0 && pending < 0 && !values.numbers.isEmpty())
            count = values.numbers.last();
        for (const qsizetype object : values.objects) {
            if (stream.isA(object, "NSColor")) {
                if (pending >= 0)
                    result.noteDamage(QStringLiteral("Colour %1 of the list has no key.").arg(colours));
                pending = object;
                ++colours;
            } else if (pending >= 0 && (stream.isA(object, "NSString") || stream.isA(object, "NSMutableString"))) {
                const QString key = QString::fromUtf8(stream.shared[object].values.text);
                QString why;
                const std::optional<Color> colour = colourOf(stream, pending, why);
                if (colour)
                    result.colors.append({key, *colour});
                else
                    result.noteDamage(QStringLiteral("Colour %1 (\u201C%2\u201D) is damaged: %3.")
                                          .arg(colours)
                                          .arg(key, why));
                pending = -1;
            }
        }
    }
    if (!stream.error.isEmpty())
        result.noteDamage(QStringLiteral("The colour list is damaged after %1 colours: %2.")
                              .arg(result.colors.size())
                              .arg(stream.error));
    if (pending >= 0)
        result.noteDamage(QStringLiteral("Colour %1 of the list has no key.").arg(colours));
    if (!count || !std::isfinite(*count))
        result.noteDamage(QStringLiteral("The colour list is damaged: it does not say how many colours it has."));
    else if (colours < *count)
        result.noteDamage(QStringLiteral("The colour list ends after %1 of its %2 colours.").arg(colours).arg(*count));
    return result;
}

} // namespace TypedStreamColorList
