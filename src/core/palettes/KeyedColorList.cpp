#include "KeyedColorList.h"

#include "ClrColor.h"
#include "colour/ColorSpace.h"

#include <QHash>
#include <QLocale>

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace KeyedColorList {

namespace {

// An archive nests a handful of levels: root, $objects, an object, an array
// in it. Anything much deeper is not an archive.
constexpr int maximumDepth = 16;
// Nodes libplist may build, some hundred bytes each: a list of a hundred
// thousand colours builds about a million and a half.
constexpr quint64 maximumNodes = 2'000'000;
// Named colours fall back to a colour that may be named in turn.
constexpr int maximumFallbacks = 4;
// Distinct embedded profiles opened per file; a file normally has one that
// all its colours share. Colours beyond the limit use their fallback.
constexpr int maximumProfiles = 64;

quint64 bigEndian(const uchar* p, int size)
{
    quint64 v = 0;
    for (int i = 0; i < size; ++i)
        v = v << 8 | p[i];
    return v;
}

// libplist follows the references of a binary property list as a tree: an
// object referred to twice is built twice, so a few hundred bytes of shared
// references expand to thousands of millions of nodes, and every level of
// nesting costs it a scan of the levels above. So the object table is
// checked here before libplist sees it: offsets and lengths inside the
// objects, references to objects that exist, no circles, no deep nesting,
// and no more nodes once expanded than a file of its references can have.
class StructureCheck
{
public:
    explicit StructureCheck(QByteArrayView bytes)
        : data(reinterpret_cast<const uchar*>(bytes.data()))
        , size(quint64(bytes.size()))
    {
    }

    QString problem()
    {
        if (size < 8 + 32)
            return QStringLiteral("it is too short to be a property list");
        const uchar* trailer = data + size - 32;
        offsetSize = trailer[6];
        refSize = trailer[7];
        count = bigEndian(trailer + 8, 8);
        const quint64 top = bigEndian(trailer + 16, 8);
        tableStart = bigEndian(trailer + 24, 8);
        const quint64 end = size - 32;
        if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8 || count == 0 || count > end
            || top >= count || tableStart < 8 || tableStart > end || (end - tableStart) / offsetSize < count)
            return QStringLiteral("its trailer does not describe its object table");
        for (quint64 i = 0; i < count; ++i)
            if (!scanObject(i))
                return QStringLiteral("object %1 lies outside the file's objects").arg(i);
        // Five bytes an object: the table may list millions of them.
        nodes.assign(count, 0);
        mark.assign(count, unseen);
        const QString problem = visit(top, 0);
        if (!problem.isEmpty())
            return problem;
        // Without shared containers, every reference builds one node.
        if (nodes[top] > 4 * reachableRefs + 64)
            return tooManyTimes();
        return {};
    }

private:
    struct References
    {
        quint64 start = 0, count = 0;
    };

    // Where object i's references are (none for a scalar); nothing when the
    // object does not lie whole inside the objects.
    std::optional<References> scanObject(quint64 i) const
    {
        const quint64 offset = bigEndian(data + tableStart + i * offsetSize, offsetSize);
        if (offset < 8 || offset >= tableStart)
            return std::nullopt;
        const int type = data[offset] >> 4;
        quint64 n = data[offset] & 0xF;
        quint64 pos = offset + 1;
        quint64 unitSize = 0;
        const auto fits = [&](quint64 bytes) { return tableStart - pos >= bytes ? std::optional(References {}) : std::nullopt; };
        switch (type) {
        case 0x1: case 0x2: return n <= 4 ? fits(quint64(1) << n) : std::nullopt; // integer, real
        case 0x3: return fits(8);                                                  // date
        case 0x8: return fits(n + 1);                                              // CF$UID
        case 0x4: case 0x5: case 0x7: unitSize = 1; break;                         // data, ASCII, UTF-8
        case 0x6: unitSize = 2; break;                                             // UTF-16
        case 0xA: case 0xB: case 0xC: unitSize = refSize; break;
        case 0xD: unitSize = 2 * quint64(refSize); break;
        default: return References {};
        }
        if (n == 0xF) { // the count follows as an integer object
            if (pos >= tableStart || data[pos] >> 4 != 1 || (data[pos] & 0xF) > 3)
                return std::nullopt;
            const int bytes = 1 << (data[pos] & 0xF);
            if (tableStart - pos - 1 < quint64(bytes))
                return std::nullopt;
            n = bigEndian(data + pos + 1, bytes);
            pos += 1 + bytes;
        }
        if (n > (tableStart - pos) / unitSize)
            return std::nullopt;
        if (type < 0xA)
            return References {};
        return References {pos, type == 0xD ? 2 * n : n};
    }

    // The nodes and the height of the tree below object i, each computed
    // once. Recursion stops at the depth limit, so a long chain or a circle
    // costs no more stack than an archive does.
    QString visit(quint64 i, int depth)
    {
        const QString tooDeep = QStringLiteral("its objects refer to one another in a circle or nest too deeply");
        if (mark[i] == visiting || depth > maximumDepth)
            return tooDeep;
        if (mark[i] == unseen) {
            mark[i] = visiting;
            const References refs = *scanObject(i);
            reachableRefs += refs.count;
            quint64 total = 1;
            int below = 0;
            for (quint64 r = 0; r < refs.count; ++r) {
                const quint64 child = bigEndian(data + refs.start + r * refSize, refSize);
                if (child >= count)
                    return QStringLiteral("object %1 refers to object %2, which does not exist").arg(i).arg(child);
                const QString problem = visit(child, depth + 1);
                if (!problem.isEmpty())
                    return problem;
                total += nodes[child];
                below = std::max(below, mark[child] - heightBase);
                if (total > maximumNodes)
                    return tooManyTimes();
            }
            nodes[i] = quint32(total);
            mark[i] = quint8(heightBase + below + 1);
        }
        if (depth + (mark[i] - heightBase) > maximumDepth + 1)
            return tooDeep;
        return {};
    }

    static QString tooManyTimes() { return QStringLiteral("its objects refer to one another too many times over"); }

    // An object's mark is unseen, being visited, or heightBase + the height
    // of its tree once visited.
    static constexpr quint8 unseen = 0, visiting = 1, heightBase = 2;

    const uchar* data;
    quint64 size;
    int offsetSize = 0, refSize = 0;
    quint64 count = 0, tableStart = 0, reachableRefs = 0;
    std::vector<quint32> nodes; // below the node limit, which fits
    std::vector<quint8> mark;
};

using Plist = std::unique_ptr<void, decltype(&plist_free)>;

plist_t member(plist_t dict, const char* key)
{
    return plist_get_node_type(dict) == PLIST_DICT ? plist_dict_get_item(dict, key) : nullptr;
}

std::vector<plist_t> items(plist_t array)
{
    std::vector<plist_t> all;
    if (plist_get_node_type(array) != PLIST_ARRAY)
        return all;
    // Walked once: libplist may find the nth item by counting from the
    // first, which would make reading a large table quadratic.
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    for (plist_t item = nullptr;;) {
        plist_array_next_item(array, iter, &item);
        if (!item)
            break;
        all.push_back(item);
    }
    free(iter);
    return all;
}

// Data or text; the components of a colour are written as either.
std::optional<QByteArrayView> bytesOf(plist_t node)
{
    uint64_t length = 0;
    const char* p = nullptr;
    if (plist_get_node_type(node) == PLIST_DATA)
        p = plist_get_data_ptr(node, &length);
    else if (plist_get_node_type(node) == PLIST_STRING)
        p = plist_get_string_ptr(node, &length);
    else
        return std::nullopt;
    return QByteArrayView(p, qsizetype(length));
}

class Archive
{
public:
    std::vector<plist_t> objects;

    // The object a reference leads to; nothing for anything else. Archives
    // hold references as the property list's own UID type or, as other
    // writers (and the XML form) spell them, as a dictionary {CF$UID: n}.
    plist_t object(plist_t reference) const
    {
        uint64_t uid = 0;
        if (plist_get_node_type(reference) == PLIST_UID) {
            plist_get_uid_val(reference, &uid);
        } else {
            const plist_t number = plist_get_node_type(reference) == PLIST_DICT && plist_dict_get_size(reference) == 1
                ? plist_dict_get_item(reference, "CF$UID")
                : nullptr;
            if (plist_get_node_type(number) != PLIST_UINT)
                return nullptr;
            plist_get_uint_val(number, &uid);
        }
        return uid < objects.size() ? objects[uid] : nullptr;
    }

    // An array object's items (NS.objects), each resolved.
    std::optional<std::vector<plist_t>> array(plist_t reference) const
    {
        const plist_t list = member(object(reference), "NS.objects");
        if (plist_get_node_type(list) != PLIST_ARRAY)
            return std::nullopt;
        std::vector<plist_t> resolved = items(list);
        for (plist_t& item : resolved)
            item = object(item);
        return resolved;
    }

    // Raw data, or an NSData object holding it in NS.data.
    std::optional<QByteArrayView> data(plist_t node) const
    {
        if (const plist_t referred = object(node))
            node = referred;
        if (plist_get_node_type(node) == PLIST_DICT) {
            node = member(node, "NS.data");
            if (const plist_t referred = object(node))
                node = referred;
        }
        return plist_get_node_type(node) == PLIST_DATA ? bytesOf(node) : std::nullopt;
    }
};

class ColourReader
{
public:
    explicit ColourReader(const Archive& archive)
        : archive(archive)
    {
    }

    std::optional<Color> read(plist_t colour, QString& why, int fallbacks = 0)
    {
        if (plist_get_node_type(colour) != PLIST_DICT) {
            why = QStringLiteral("it is not a colour object");
            return std::nullopt;
        }
        // The exact colour, when the profile and its components can be used;
        // otherwise the components of the kind the colour names.
        const std::optional<QByteArrayView> exact = bytesOf(member(colour, "NSComponents"));
        const ClrColor::EmbeddedProfile* profile = profileOf(archive.object(member(colour, "NSCustomColorSpace")));
        if (exact && profile)
            if (const auto components = ClrColor::parseComponents(*exact))
                if (const std::optional<Color> converted = profile->toSRGB(*components))
                    return converted;

        const plist_t kindNode = member(colour, "NSColorSpace");
        if (plist_get_node_type(kindNode) != PLIST_UINT) {
            why = QStringLiteral("it names no colour space");
            return std::nullopt;
        }
        uint64_t kind = 0;
        plist_get_uint_val(kindNode, &kind);
        if (kind == ClrColor::Named) {
            const plist_t fallback = archive.object(member(colour, "NSColor"));
            if (!fallback) {
                why = QStringLiteral("the named colour has no fallback colour");
                return std::nullopt;
            }
            if (fallbacks == maximumFallbacks) {
                why = QStringLiteral("its named colours fall back to one another in a circle");
                return std::nullopt;
            }
            return read(fallback, why, fallbacks + 1);
        }
        const char* textKey = kind <= 2 ? "NSRGB" : kind <= 4 ? "NSWhite" : "NSCMYK";
        if (ClrColor::componentCount(int(std::min<uint64_t>(kind, 100))) == 0) {
            why = QStringLiteral("its colour space %1 is not one this reader knows").arg(kind);
            return std::nullopt;
        }
        const std::optional<QByteArrayView> text = bytesOf(member(colour, textKey));
        const auto components = text ? ClrColor::parseComponents(*text) : std::nullopt;
        if (!components) {
            why = QStringLiteral("its %1 components are missing or not numbers").arg(QLatin1String(textKey));
            return std::nullopt;
        }
        const std::optional<Color> converted = ClrColor::fromComponents(int(kind), *components);
        if (!converted)
            why = QStringLiteral("it has too few %1 components").arg(QLatin1String(textKey));
        return converted;
    }

private:
    const ClrColor::EmbeddedProfile* profileOf(plist_t space)
    {
        if (!space)
            return nullptr;
        const auto found = profiles.constFind(space);
        if (found != profiles.constEnd())
            return found->get();
        if (profiles.size() == maximumProfiles)
            return nullptr;
        const std::optional<QByteArrayView> icc = archive.data(member(space, "NSICC"));
        std::shared_ptr<ClrColor::EmbeddedProfile> profile;
        if (icc)
            profile = ClrColor::EmbeddedProfile::open(icc->toByteArray());
        profiles.insert(space, profile);
        return profile.get();
    }

    const Archive& archive;
    QHash<plist_t, std::shared_ptr<ClrColor::EmbeddedProfile>> profiles;
};

QString notAColourList(const QString& why)
{
    return QStringLiteral("This is not a colour list: %1.").arg(why);
}

// Components in the shortest form that reads back as the same double, in
// fixed notation: an exponent is more than some readers expect.
QByteArray componentText(std::initializer_list<double> values, int digits, bool nul)
{
    QByteArray text;
    for (const double v : values) {
        QByteArray number = QByteArray::number(v, 'f', digits);
        if (number.contains('.')) {
            while (number.endsWith('0'))
                number.chop(1);
            if (number.endsWith('.'))
                number.chop(1);
        }
        text += (text.isEmpty() ? "" : " ") + number;
    }
    if (nul)
        text += '\0';
    return text;
}

plist_t data(const QByteArray& bytes) { return plist_new_data(bytes.constData(), quint64(bytes.size())); }

plist_t dict(std::initializer_list<std::pair<const char*, plist_t>> members)
{
    plist_t d = plist_new_dict();
    for (const auto& [key, value] : members)
        plist_dict_set_item(d, key, value);
    return d;
}

plist_t classDict(std::initializer_list<const char*> chain)
{
    plist_t classes = plist_new_array();
    for (const char* name : chain)
        plist_array_append_item(classes, plist_new_string(name));
    return dict({{"$classes", classes}, {"$classname", plist_new_string(*chain.begin())}});
}

plist_t uidArray(quint64 first, quint64 count, quint64 stride = 1)
{
    plist_t array = plist_new_array();
    for (quint64 i = 0; i < count; ++i)
        plist_array_append_item(array, plist_new_uid(first + i * stride));
    return array;
}

} // namespace

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    if (!bytes.startsWith("bplist00"))
        return PaletteReadResult::refused(notAColourList(QStringLiteral("it is not a binary property list")));
    const QString problem = StructureCheck(bytes).problem();
    if (!problem.isEmpty())
        return PaletteReadResult::refused(
            QStringLiteral("The colour list is damaged: its property list is not whole (%1).").arg(problem));
    plist_t parsed = nullptr;
    plist_from_bin(bytes.constData(), static_cast<uint32_t>(bytes.size()), &parsed);
    const Plist root(parsed, &plist_free);
    if (!root)
        return PaletteReadResult::refused(
            QStringLiteral("The colour list is damaged: its property list cannot be read."));

    const plist_t archiver = member(root.get(), "$archiver");
    const std::optional<QByteArrayView> archiverName = bytesOf(archiver);
    if (plist_get_node_type(archiver) != PLIST_STRING || *archiverName != "NSKeyedArchiver")
        return PaletteReadResult::refused(notAColourList(QStringLiteral("it is not a keyed archive")));
    Archive archive;
    archive.objects = items(member(root.get(), "$objects"));
    const plist_t top = member(root.get(), "$top");
    const std::optional<std::vector<plist_t>> keys = archive.array(member(top, "NSKeys"));
    const std::optional<std::vector<plist_t>> colours = archive.array(member(top, "NSColors"));
    if (!keys || !colours)
        return PaletteReadResult::refused(notAColourList(QStringLiteral("it has no list of keys and colours")));

    PaletteReadResult result;
    if (keys->size() != colours->size())
        result.noteDamage(QStringLiteral("The colour list is damaged: it has %1 keys for %2 colours.")
                              .arg(keys->size())
                              .arg(colours->size()));
    ColourReader reader(archive);
    const qsizetype n = qsizetype(std::min(keys->size(), colours->size()));
    for (qsizetype i = 0; i < n; ++i) {
        plist_t key = (*keys)[i];
        if (plist_get_node_type(key) == PLIST_DICT) // a mutable string archived as an object
            key = member(key, "NS.string");
        if (plist_get_node_type(key) != PLIST_STRING) {
            result.noteDamage(QStringLiteral("The key of colour %1 is not a text.").arg(i + 1));
            continue;
        }
        const QByteArrayView name = *bytesOf(key);
        QString why;
        const std::optional<Color> colour = reader.read((*colours)[i], why);
        if (!colour) {
            result.noteDamage(QStringLiteral("Colour %1 (\u201C%2\u201D) is damaged: %3.")
                                  .arg(i + 1)
                                  .arg(QString::fromUtf8(name), why));
            continue;
        }
        result.colors.append({QString::fromUtf8(name), *colour});
    }
    return result;
}

QByteArray writeColorList(const ColorList& list)
{
    // Object numbers as macOS assigns them: the keys array and its keys,
    // the colours array, then the first colour with the colour space, its
    // profile and the three classes they introduce, then the other colours.
    const quint64 n = quint64(list.size());
    const quint64 arrayClass = n + 2, coloursArray = n + 3, firstColour = n + 4, space = n + 5, profile = n + 6,
                  dataClass = n + 7, spaceClass = n + 8, colourClass = n + 9;
    const auto colourObject = [&](quint64 i) { return i == 0 ? firstColour : colourClass + i; };

    plist_t objects = plist_new_array();
    plist_array_append_item(objects, plist_new_string("$null"));
    plist_array_append_item(objects, dict({{"$class", plist_new_uid(arrayClass)}, {"NS.objects", uidArray(2, n)}}));
    for (const ColorList::Entry& entry : list.entries())
        plist_array_append_item(objects, plist_new_string(entry.key.toUtf8().constData()));
    plist_array_append_item(objects, classDict({"NSMutableArray", "NSArray", "NSObject"}));
    plist_t colourRefs = plist_new_array();
    for (quint64 i = 0; i < n; ++i)
        plist_array_append_item(colourRefs, plist_new_uid(colourObject(i)));
    plist_array_append_item(objects, dict({{"$class", plist_new_uid(arrayClass)}, {"NS.objects", colourRefs}}));

    for (quint64 i = 0; i < n; ++i) {
        // A colour that cannot be converted keeps its own components rather
        // than vanish from the file.
        const Color& held = list.entries()[qsizetype(i)].color;
        const Color srgb = ColorSpace::convert(held, ColorSpace::sRGB()).value_or(held);
        const std::array<double, 3> calibrated = ClrColor::calibratedRGB(srgb);
        plist_array_append_item(
            objects,
            dict({{"$class", plist_new_uid(colourClass)},
                  {"NSColorSpace", plist_new_uint(ClrColor::CalibratedRGB)},
                  {"NSComponents",
                   data(componentText({srgb.red(), srgb.green(), srgb.blue(), 1.0}, QLocale::FloatingPointShortest,
                                      false))},
                  {"NSCustomColorSpace", plist_new_uid(space)},
                  {"NSRGB", data(componentText({calibrated[0], calibrated[1], calibrated[2]}, 10, true))}}));
        if (i > 0)
            continue;
        plist_array_append_item(objects, dict({{"$class", plist_new_uid(spaceClass)},
                                               {"NSICC", plist_new_uid(profile)},
                                               {"NSID", plist_new_uint(7)}}));
        plist_array_append_item(objects,
                                dict({{"$class", plist_new_uid(dataClass)}, {"NS.data", data(ClrColor::sRGBProfile())}}));
        plist_array_append_item(objects, classDict({"NSMutableData", "NSData", "NSObject"}));
        plist_array_append_item(objects, classDict({"NSColorSpace", "NSObject"}));
        plist_array_append_item(objects, classDict({"NSColor", "NSObject"}));
    }

    const Plist root(dict({{"$archiver", plist_new_string("NSKeyedArchiver")},
                           {"$objects", objects},
                           {"$top", dict({{"NSColors", plist_new_uid(coloursArray)}, {"NSKeys", plist_new_uid(1)}})},
                           {"$version", plist_new_uint(100000)}}),
                     &plist_free);
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(root.get(), &bin, &length);
    const QByteArray out(bin, qsizetype(length));
    plist_to_bin_free(bin);
    return out;
}

} // namespace KeyedColorList
