#include "FileBytes.h"
#include "SystemProfiles.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrColor.h"
#include "palettes/ClrFormat.h"
#include "palettes/GimpPalette.h"
#include "palettes/JsonPalette.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// A file, the keys and codes read from it in order, and whether it is whole.
struct Row { const char* what; QByteArray bytes; QStringList keys, codes; bool complete; };

QString code(const Color& c)
{
    const auto [r, g, b] = c.integerComponents();
    return QString::asprintf("#%02X%02X%02X", r, g, b);
}

void check(const Row& row, PaletteReadResult (*reader)(const QByteArray&) = ClrFormat::readColorList)
{
    const PaletteReadResult read = reader(row.bytes);
    QStringList keys, codes;
    for (const ColorList::Entry& e : read.colors) {
        keys += e.key;
        codes += code(e.color);
    }
    EXPECT_EQ(keys, row.keys) << row.what;
    EXPECT_EQ(codes, row.codes) << row.what;
    EXPECT_EQ(read.complete(), row.complete) << row.what << ": " << read.error.toStdString();
    EXPECT_TRUE(read.complete() || !read.error.isEmpty()) << row.what;
}

// Every shorter file is a damaged one: it keeps a prefix of the colours and
// says so, or is refused.
void checkCuts(const QByteArray& whole)
{
    const QList<ColorList::Entry> all = ClrFormat::readColorList(whole).colors;
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const PaletteReadResult part = ClrFormat::readColorList(whole.left(cut));
        ASSERT_FALSE(part.complete()) << "cut at " << cut;
        ASSERT_EQ(part.colors, all.first(part.colors.size())) << "cut at " << cut;
    }
}

QByteArray sample(const char* name)
{
    return contents(QDir(qEnvironmentVariable("HUELARK_CLR_SAMPLES")).filePath(QString::fromUtf8(name)));
}

// Keyed archives built with libplist. Object 0 is "$null"; the objects given
// follow from 1; $top names the keys array and the colours array.
plist_t uid(quint64 n) { return plist_new_uid(n); }
plist_t text(const char* s) { return plist_new_data(s, strlen(s) + 1); } // with its NUL, as macOS writes it
plist_t array(std::initializer_list<quint64> refs)
{
    plist_t items = plist_new_array();
    for (quint64 r : refs)
        plist_array_append_item(items, uid(r));
    plist_t d = plist_new_dict();
    plist_dict_set_item(d, "NS.objects", items);
    return d;
}
plist_t dict(std::initializer_list<std::pair<const char*, plist_t>> members)
{
    plist_t d = plist_new_dict();
    for (const auto& [k, v] : members)
        plist_dict_set_item(d, k, v);
    return d;
}
plist_t kind(int k) { return plist_new_uint(quint64(k)); }

QByteArray keyed(std::initializer_list<plist_t> objects, const char* archiver = "NSKeyedArchiver")
{
    plist_t all = plist_new_array();
    plist_array_append_item(all, plist_new_string("$null"));
    for (plist_t o : objects)
        plist_array_append_item(all, o);
    plist_t root = dict({{"$archiver", plist_new_string(archiver)},
                         {"$objects", all},
                         {"$top", dict({{"NSKeys", uid(1)}, {"NSColors", uid(2)}})},
                         {"$version", plist_new_uint(100000)}});
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bin, &length);
    const QByteArray out(bin, length);
    plist_to_bin_free(bin);
    plist_free(root);
    return out;
}

// One colour (object 4) under the key "K", with whatever objects it refers to.
QByteArray one(plist_t colour, std::initializer_list<plist_t> more = {})
{
    plist_t k = plist_new_string("K");
    if (more.size() == 0)
        return keyed({array({3}), array({4}), k, colour});
    std::vector<plist_t> v {more};
    return keyed({array({3}), array({4}), k, colour, v[0], v.size() > 1 ? v[1] : plist_new_string("-")});
}

QByteArray u16be(int v) { return QByteArray(1, char(v >> 8)) + char(v & 0xFF); }

// A raw binary property list whose objects are arrays of two-byte references.
QByteArray bplist(const std::vector<std::vector<int>>& arrays)
{
    QByteArray out("bplist00"), table;
    for (const auto& refs : arrays) {
        table += u16be(int(out.size()));
        out += char(0xA0 | int(refs.size()));
        for (int r : refs)
            out += u16be(r);
    }
    out += char(0x10) + QByteArray(1, '\0'); // the integer 0 the last array ends in
    table += u16be(int(out.size()) - 2);
    const qsizetype tableAt = out.size();
    quint64 trailer[3] = {qToBigEndian<quint64>(arrays.size() + 1), 0, qToBigEndian<quint64>(tableAt)};
    return out + table + QByteArray(6, '\0') + char(2) + char(2) + QByteArray(reinterpret_cast<char*>(trailer), 24);
}

// The objects of a keyed archive in order, each as its type or, for a
// dictionary, its keys: how the file is laid out, whatever the values.
QStringList layout(const QByteArray& bytes)
{
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    const plist_t objects = plist_dict_get_item(root, "$objects");
    QStringList shapes;
    for (uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
        const plist_t o = plist_array_get_item(objects, i);
        QStringList keys;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(o, &it);
        for (char* key = nullptr;; free(key)) {
            plist_t value = nullptr;
            plist_dict_next_item(o, it, &key, &value);
            if (!key)
                break;
            keys += QString::fromUtf8(key);
        }
        free(it);
        keys.sort();
        shapes += plist_get_node_type(o) == PLIST_DICT ? keys.join(u',') : QString::number(plist_get_node_type(o));
    }
    plist_free(root);
    return shapes;
}

// Typed streams, built with a new class and new strings for every object.
const QByteArray streamHeader("\x04\x0bstreamtyped\x81\xe8\x03", 16);
QByteArray str(const QByteArray& s) { return '\x84' + QByteArray(1, char(s.size())) + s; }
QByteArray f(float v)
{
    const quint32 bits = qToLittleEndian(std::bit_cast<quint32>(v));
    return '\x83' + QByteArray(reinterpret_cast<const char*>(&bits), 4);
}
QByteArray object(const char* cls, const QByteArray& groups)
{
    return "\x84\x84" + str(cls) + '\0' + "\x84" + str("NSObject") + '\0' + "\x85" + groups + "\x86";
}
QByteArray colour(char k, const QByteArray& types, const QByteArray& values)
{
    return object("NSColor", str("c") + k + str(types) + values);
}
QByteArray pair(const QByteArray& c, const QByteArray& key) { return str("@@") + c + object("NSString", str("+") + char(key.size()) + key); }
QByteArray typed(int count, const QByteArray& pairs) { return streamHeader + str("@i") + '\x85' + char(count) + pairs; }
QByteArray nestedNamed(int depth)
{
    QByteArray c = colour(2, "ffff", "\x01\x01\x01\x01");
    for (int i = 0; i < depth; ++i)
        c = colour(6, "@", c);
    return c;
}

QByteArray u16(quint16 v) { return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(4, '0')); }
QByteArray u32(quint32 v) { return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0')); }

QByteArray block(quint16 type, const QByteArray& body) { return u16(type) + u32(body.size()) + body; }

// A colour entry as other programs write it, name as ASCII.
QByteArray entry(const QByteArray& name, const char* model, std::initializer_list<float> values)
{
    QByteArray body = u16(name.size() + 1);
    for (char c : name)
        body += u16(c);
    body += u16(0) + model;
    for (float v : values)
        body += u32(std::bit_cast<quint32>(v));
    return block(1, body + u16(2));
}

QByteArray file(quint32 count, const QByteArray& blocks) { return "ASEF" + u16(1) + u16(0) + u32(count) + blocks; }

const QByteArray group = block(0xC001, u16(2) + u16('G') + u16(0));
const QByteArray groupEnd = block(0xC002, {});

} // namespace

TEST(ClrFormat, ReadsBothSamples)
{
    const QByteArray keyedSample = sample("Sample Keyed.clr"), typedSample = sample("Sample Typed.clr");
    if (keyedSample.isEmpty() || typedSample.isEmpty())
        GTEST_SKIP() << "the sample colour lists are not at " << qPrintable(qEnvironmentVariable("HUELARK_CLR_SAMPLES"));
    QStringList leaves, ks;
    for (int i = 1; i <= 12; ++i)
        leaves += QStringLiteral("Leaf %1").arg(i);
    for (int i = 0; i <= 14; ++i)
        ks += i == 0 ? "K000" : i == 2 ? "K002" : QStringLiteral("K%1").arg(i, 6, 10, QChar(u'0'));
    check({"keyed", keyedSample, leaves,
           QString("#E7EEE7 #615EF3 #5F30E4 #9B482E #15CAE7 #500720 #1E1261 #7B0FED #A7E164 #7796FF #022BEA #8ED02A").split(' '),
           true});
    check({"typed", typedSample, ks,
           QString("#000000 #6738B4 #FF1E9A #721994 #11821D #2480D8 #2F4DAE #F1A379 #F614DF #5E362D #63D640 #A4B174 "
                   "#9D1B19 #48BA81 #65A587").split(' '),
           true});
    // Written back, the sample's colours keep their place in a file laid out
    // object for object as the sample is, and read back the same.
    ColorList list;
    for (const ColorList::Entry& e : ClrFormat::readColorList(keyedSample).colors)
        list.setColor(e.key, e.color);
    const QByteArray written = ClrFormat::writeColorList(list);
    EXPECT_EQ(layout(written), layout(keyedSample));
    EXPECT_EQ(ClrFormat::readColorList(written).colors, list.entries());
    checkCuts(keyedSample);
    checkCuts(typedSample);
}

// Colours in sRGB come back exactly, under their keys in order; a colour
// held in another space is written as its sRGB self (PaletteWritersTest).
TEST(ClrFormat, ReadsWhatItWrites)
{
    ColorList list(QStringLiteral("Mixed"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegersSingle(255, 0, 0));
    list.setColor(QStringLiteral("Überrot 🌶"), Color(1.0 / 3, 0.1, 0.999999, ColorSpace::sRGB()));
    list.setColor(QStringLiteral("日本の色"), Color::fromIntegers(12, 200, 7));
    for (int i = 0; i < 300; ++i) // equal colours are not one shared object the reader would refuse
        list.setColor(QStringLiteral("Twin %1").arg(i), Color::fromIntegers(12, 200, 7));
    const QByteArray written = ClrFormat::writeColorList(list);
    ASSERT_TRUE(written.startsWith("bplist00"));
    const PaletteReadResult read = ClrFormat::readColorList(written);
    EXPECT_TRUE(read.complete()) << read.error.toStdString();
    EXPECT_EQ(read.colors, list.entries());
    EXPECT_TRUE(ClrFormat::readColorList(ClrFormat::writeColorList(ColorList())).complete());
}

TEST(ClrFormat, ReadsEveryKindAndSurvivesDamage)
{
    const auto rgb = [](int k, const char* t) { return dict({{"NSColorSpace", kind(k)}, {"NSRGB", text(t)}}); };
    std::vector<std::vector<int>> bomb, deep;
    for (int i = 0; i < 40; ++i)
        bomb.push_back({i + 1, i + 1});
    for (int i = 0; i < 100; ++i)
        deep.push_back({i + 1});
    const QByteArray red = colour(2, "ffff", QByteArray("\x01\x00\x00\x01", 4));
    const Row rows[] = {
        {"device RGB", one(rgb(2, "1 0 0")), {"K"}, {"#FF0000"}, true},
        {"calibrated RGB: gamma 1.8", one(rgb(1, "0.5 0.5 0.5 1")), {"K"}, {"#929292"}, true},
        {"calibrated white: gamma 2.2", one(dict({{"NSColorSpace", kind(3)}, {"NSWhite", text("0.75")}})), {"K"}, {"#C1C1C1"}, true},
        {"device white", one(dict({{"NSColorSpace", kind(4)}, {"NSWhite", text("0.5 1")}})), {"K"}, {"#808080"}, true},
        {"device CMYK", one(dict({{"NSColorSpace", kind(5)}, {"NSCMYK", text("0 1 1 0 1")}})), {"K"}, {"#FF0000"}, true},
        {"named: its fallback", one(dict({{"NSColorSpace", kind(6)}, {"NSColor", uid(5)}}), {rgb(2, "0 1 0")}), {"K"}, {"#00FF00"}, true},
        {"embedded profile", one(dict({{"NSColorSpace", kind(2)}, {"NSRGB", text("1 1 1")}, {"NSComponents", text("0.2 0.4 0.6 1")}, {"NSCustomColorSpace", uid(5)}}),
                                 {dict({{"NSICC", uid(6)}}), dict({{"NS.data", plist_new_data(ClrColor::sRGBProfile().constData(), ClrColor::sRGBProfile().size())}})}),
         {"K"}, {"#336699"}, true},
        {"unusable profile: the fallback", one(dict({{"NSColorSpace", kind(2)}, {"NSRGB", text("1 1 1")}, {"NSComponents", text("0 0 0")}, {"NSCustomColorSpace", uid(5)}}),
                                               {dict({{"NSICC", plist_new_data("junk", 4)}})}),
         {"K"}, {"#FFFFFF"}, true},
        {"not numbers", one(rgb(2, "a b c")), {}, {}, false},
        {"not finite", one(rgb(2, "nan 0 0")), {}, {}, false},
        {"too few", one(rgb(2, "1 0")), {}, {}, false},
        {"no colour space", one(dict({{"NSRGB", text("1 0 0")}})), {}, {}, false},
        {"an unknown colour space", one(rgb(9, "1 0 0")), {}, {}, false},
        {"named colours in a circle", one(dict({{"NSColorSpace", kind(6)}, {"NSColor", uid(4)}})), {}, {}, false},
        {"a reference out of range", keyed({array({3}), array({999}), plist_new_string("K")}), {}, {}, false},
        {"a key that is no text", keyed({array({3}), array({3}), rgb(2, "1 0 0")}), {}, {}, false},
        {"a key archived as an object", keyed({array({3}), array({4}), dict({{"NS.string", plist_new_string("M")}}), rgb(2, "1 0 0")}), {"M"}, {"#FF0000"}, true},
        {"more keys than colours", keyed({array({3, 3}), array({4}), plist_new_string("K"), rgb(2, "1 0 0")}), {"K"}, {"#FF0000"}, false},
        {"no keys", keyed({plist_new_string("x"), array({})}), {}, {}, false},
        {"another archiver", one(rgb(2, "1 0 0")).replace("NSKeyedArchiver", "NSKeyedArchivex"), {}, {}, false},
        {"shared references expanding to 2^40 nodes", bplist(bomb), {}, {}, false},
        {"nested a hundred deep", bplist(deep), {}, {}, false},
        {"an array inside itself", bplist({{0}}), {}, {}, false},
        {"a trailer of zeros", "bplist00" + QByteArray(40, '\0'), {}, {}, false},
        {"typed: device RGB", typed(1, pair(red, "Red")), {"Red"}, {"#FF0000"}, true},
        {"typed: CMYK, white", typed(2, pair(colour(5, "fffff", QByteArray("\x00\x01\x01\x00\x01", 5)), "C") + pair(colour(4, "ff", f(0.5f) + '\1'), "W")),
         {"C", "W"}, {"#FF0000", "#808080"}, true},
        {"typed: named", typed(1, pair(colour(6, "@@@", "\x85\x85" + red), "N")), {"N"}, {"#FF0000"}, true},
        {"typed: a count of 1e24", streamHeader + str("f") + f(1e24f) + pair(red, "Red"), {"Red"}, {"#FF0000"}, false},
        {"typed: not finite", typed(1, pair(colour(2, "ffff", f(NAN) + f(0) + f(0) + '\1'), "X")), {}, {}, false},
        {"typed: an unknown kind", typed(1, pair(colour(9, "ffff", QByteArray("\x01\x00\x00\x01", 4)), "X")), {}, {}, false},
        {"typed: a class reference out of range", typed(1, str("@@") + "\x84\xf0\x86"), {}, {}, false},
        {"typed: an object reference to a class", typed(2, pair(red, "Red") + str("@@") + "\x93"), {"Red"}, {"#FF0000"}, false},
        {"typed: an unknown type", typed(1, str("@x") + red + "\x01"), {}, {}, false},
        {"typed: a key longer than the file", typed(1, str("@@") + red + "\x84\x84" + str("NSString") + "\1\x85" + str("+") + "\x7f" + "abc"), {}, {}, false},
        {"typed: colours nested in colours", typed(1, pair(nestedNamed(20), "X")), {}, {}, false},
        {"neither form", "GIMP Palette\n", {}, {}, false},
        {"empty", {}, {}, {}, false},
        {"over 16 MB", streamHeader + QByteArray(16 * 1024 * 1024, '\0'), {}, {}, false},
    };
    for (const Row& row : rows)
        check(row);
}

// Palette files carry sRGB, whatever space the window holds its colours in:
// a colour held in Adobe RGB is written as its sRGB self and reads back so.
TEST(PaletteWriters, WriteSRGBWhateverTheColoursSpace)
{
    const ColorSpacePtr adobe = SystemProfiles::load(SystemProfiles::adobeRGB);
    if (!adobe)
        GTEST_SKIP() << "colord-data is not installed";
    const std::optional<Color> held = ColorSpace::convert(Color::fromIntegers(51, 102, 153), adobe);
    ASSERT_TRUE(held);
    ASSERT_NE(held->integerComponents(), (std::array {51, 102, 153})); // or the test proves nothing
    ColorList list(QStringLiteral("Held"));
    list.setColor(QStringLiteral("Steel"), *held);

    const struct { const char* format; QByteArray (*write)(const ColorList&); PaletteReadResult (*read)(const QByteArray&); } rows[] = {
        {"ase", AdobeSwatchExchange::writeColorList, AdobeSwatchExchange::readColorList},
        {"clr", ClrFormat::writeColorList, ClrFormat::readColorList},
        {"gpl", GimpPalette::writeColorList, GimpPalette::readColorList},
        {"json", JsonPalette::writeColorList, JsonPalette::readColorList},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = row.read(row.write(list));
        ASSERT_EQ(read.colors.size(), 1) << row.format;
        EXPECT_EQ(read.colors[0].color.integerComponents(), (std::array {51, 102, 153})) << row.format;
    }
}

// GIMP's own layout.
TEST(GimpPalette, WritesGimpsLayout)
{
    ColorList list(QStringLiteral("Warm\nish"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("Sky blue"), Color::fromIntegers(135, 206, 235));
    list.setColor(QStringLiteral("tab\there"), Color::fromIntegers(1, 2, 3));
    const QByteArray bytes = GimpPalette::writeColorList(list);
    EXPECT_EQ(bytes, QByteArray("GIMP Palette\nName: Warm ish\n#\n"
                                "255   0   0\tRed\n"
                                "135 206 235\tSky blue\n"
                                "  1   2   3\ttab here\n"));
}

// What other programs write and what damage does: the name, the colours
// read (key and components, in order) and the error's beginning.
TEST(GimpPalette, ReadsLiberallyAndNamesTheBadLine)
{
    using Colours = std::vector<std::pair<QString, std::array<int, 3>>>;
    const struct { const char* what; QByteArray bytes; const char* name; Colours colours; const char* error; } rows[] = {
        {"CR LF, tabs, comments, columns", "GIMP Palette\r\nName: Old\r\nColumns: 4\r\n#\r\n# c\r\n\t0\t128 255\tDeep  sea \r\n\r\n",
         "Old", {{"Deep  sea", {0, 128, 255}}}, ""},
        {"no Name:, no names, a BOM", "\xEF\xBB\xBFGIMP Palette\n1 2 3\n4 5 6", "", {{"", {1, 2, 3}}, {"", {4, 5, 6}}}, ""},
        {"out of range", "GIMP Palette\n1 2 3\n256 0 0 Too much\n7 8 9\n", "", {{"", {1, 2, 3}}, {"", {7, 8, 9}}},
         "Line 3 is not a colour: the value 256"},
        {"negative", "GIMP Palette\n-1 0 0\n", "", {}, "Line 2 is not a colour: the value -1"},
        {"too few values", "GIMP Palette\nName: N\n\n12 34\n", "N", {}, "Line 4 is not a colour: it has fewer"},
        {"not numbers", "GIMP Palette\nred green blue\n", "", {}, "Line 2 is not a colour: \"red\""},
        {"not a palette", "JASC-PAL\n0100\n", "", {}, "This is not a GIMP palette"},
        {"over 16 MB", "GIMP Palette\n" + QByteArray(16 * 1024 * 1024, '\n'), "", {}, "The file is larger than 16 MB"},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = GimpPalette::readColorList(row.bytes);
        EXPECT_EQ(read.name, QString::fromUtf8(row.name)) << row.what;
        Colours colours;
        for (const ColorList::Entry& e : read.colors)
            colours.push_back({e.key, e.color.integerComponents()});
        EXPECT_EQ(colours, row.colours) << row.what;
        EXPECT_EQ(read.error.left(qstrlen(row.error)), QString::fromUtf8(row.error)) << row.what;
        EXPECT_EQ(read.complete(), !*row.error) << row.what;
    }
}

TEST(JsonPalette, WritesCodesAndReadsThemBack)
{
    ColorList list(QStringLiteral("Warm"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("Blue"), Color::fromIntegers(0, 0, 255));
    const QByteArray bytes = JsonPalette::writeColorList(list);
    EXPECT_EQ(QJsonDocument::fromJson(bytes).object(),
              QJsonDocument::fromJson(R"({"paletteName": "Warm", "colors": ["#ff0000", "#0000ff"]})").object());
    const PaletteReadResult read = JsonPalette::readColorList(bytes);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.name, QStringLiteral("Warm"));
    EXPECT_EQ(read.colors, (QList<ColorList::Entry> {{QString(), Color::fromIntegersSingle(255, 0, 0)},
                                                     {QString(), Color::fromIntegersSingle(0, 0, 255)}}));
}

// The colours read as codes ("" for none), and the error's beginning.
TEST(JsonPalette, SkipsWhatIsNotAColourAndRefusesWhatIsNotAPalette)
{
    const struct { const char* what; QByteArray bytes; QStringList codes; const char* error; } rows[] = {
        {"codes as typed", R"({"paletteName": "P", "colors": ["#abc", "AABBCC", "#12"]})", {"aabbcc", "aabbcc", "000012"}, ""},
        {"no colours", R"({"paletteName": "P", "colors": []})", {}, ""},
        {"not hex: skipped, not black", R"({"paletteName": "P", "colors": ["#zzz", "#ff0000", ""]})", {"ff0000"}, ""},
        {"not strings: skipped", R"({"paletteName": "P", "colors": [1, null, ["#fff"], {"c": "#fff"}, "#fff"]})",
         {"ffffff"}, ""},
        {"no name", R"({"colors": ["#fff"]})", {}, "This is not a palette"},
        {"colours not a list", R"({"paletteName": "P", "colors": "#fff"})", {}, "This is not a palette"},
        {"cut short", R"({"paletteName": "P", "colors": ["#fff", "#00)", {}, "This is not a JSON file"},
        {"over 16 MB", R"({"paletteName": "P", "colors": []})" + QByteArray(16 * 1024 * 1024, ' '), {},
         "The file is larger than 16 MB"},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = JsonPalette::readColorList(row.bytes);
        QStringList codes;
        for (const ColorList::Entry& e : read.colors)
            codes += *HexCodec::hexCodeForColor(e.color, ColorSpace::sRGB());
        EXPECT_EQ(codes, row.codes) << row.what;
        EXPECT_EQ(read.error.left(qstrlen(row.error)), QString::fromUtf8(row.error)) << row.what;
        EXPECT_EQ(read.complete(), !*row.error) << row.what;
    }
}

using namespace AdobeSwatchExchange;

// Two colours A and B in a list named W: a 12-byte header counting four
// blocks, the group start, two entries of block length 24 and the group end.
TEST(AdobeSwatchExchange, ByteLayoutOfTheWriter)
{
    ColorList list(QStringLiteral("W"));
    list.setColor(QStringLiteral("A"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("B"), Color::fromIntegers(0, 0, 255));
    EXPECT_EQ(writeColorList(list).toHex(' '),
              QByteArray("41 53 45 46 00 01 00 00 00 00 00 04 "
                         "c0 01 00 00 00 06 00 02 00 57 00 00 "
                         "00 01 00 00 00 18 00 02 00 41 00 00 52 47 42 20 3f 80 00 00 00 00 00 00 00 00 00 00 00 02 "
                         "00 01 00 00 00 18 00 02 00 42 00 00 52 47 42 20 00 00 00 00 00 00 00 00 3f 80 00 00 00 02 "
                         "c0 02 00 00 00 00"));
}

// Files other programs write, whole and damaged: the keys read (in order),
// the colours' codes, and whether the file counted as complete.
TEST(AdobeSwatchExchange, ReadsEveryModelAndSurvivesDamage)
{
    const QByteArray red = entry("Red", "RGB ", {1, 0, 0});
    const QByteArray three = red + entry("Green", "RGB ", {0, 1, 0}) + entry("Blue", "RGB ", {0, 0, 1});
    QByteArray lyingName = entry("Liar", "RGB ", {1, 1, 1});
    lyingName.replace(6, 2, u16(200)); // a name longer than its block
    QByteArray padded = red + QByteArray(4, '\x7f'); // fields a later version may add
    padded.replace(2, 4, u32(padded.size() - 6));
    QByteArray noType = entry("Short", "Gray", {0.5f});
    noType.chop(2);
    noType.replace(2, 4, u32(noType.size() - 6));
    const Row rows[] = {
        {"a group of three", file(5, group + three + groupEnd), {"Red", "Green", "Blue"},
         {"#FF0000", "#00FF00", "#0000FF"}, true},
        {"one name thrice", file(3, red + red + red), {"Red", "Red 1", "Red 2"}, {"#FF0000", "#FF0000", "#FF0000"}, true},
        {"no name: code, truncated", file(1, entry("", "RGB ", {0.999f, 0, 1})), {"#FE00FF"}, {"#FF00FF"}, true},
        {"out of range: clamped first", file(1, entry("", "RGB ", {2, -1, 0.5f})), {"#FF007F"}, {"#FF0080"}, true},
        {"CMYK and grey", file(2, entry("C", "CMYK", {0, 1, 1, 0}) + entry("G", "Gray", {0.5f})), {"C", "G"},
         {"#FF0000", "#808080"}, true},
        {"Lab: D50, L* a fraction of 100, not black", file(2, entry("L", "LAB ", {0.5429f, 80.8f, 69.89f}) + entry("W", "LAB ", {1, 0, 0})),
         {"L", "W"}, {"#FF0000", "#FFFFFF"}, true},
        {"extra bytes inside a block", file(2, padded + entry("Green", "RGB ", {0, 1, 0})), {"Red", "Green"},
         {"#FF0000", "#00FF00"}, true},
        {"an unknown model is skipped", file(3, red + entry("H", "HSV ", {1, 1, 1}) + red), {"Red", "Red 1"},
         {"#FF0000", "#FF0000"}, true},
        {"no colour type", file(1, noType), {"Short"}, {"#808080"}, true},
        {"a name longer than its block", file(3, red + lyingName + red), {"Red", "Red 1"}, {"#FF0000", "#FF0000"}, false},
        {"not a number", file(2, entry("NaN", "RGB ", {NAN, 0, 0}) + entry("Inf", "RGB ", {0, INFINITY, 0})), {}, {}, false},
        {"a count of four thousand million", file(0xFFFFFFFF, red), {"Red"}, {"#FF0000"}, false},
        {"a block longer than the file", file(2, red + block(1, "x").replace(2, 4, u32(0xFFFFFFF0))), {"Red"}, {"#FF0000"}, false},
        {"cut inside the header", QByteArray("ASEF\0\1", 6), {}, {}, false},
        {"empty", {}, {}, {}, false},
        {"over 16 MB", file(1, red) + QByteArray(16 * 1024 * 1024, '\0'), {}, {}, false},
    };
    for (const Row& row : rows)
        check(row, readColorList);
    EXPECT_EQ(readColorList("ASEG").error, "Not a ASE file (wrong header)");
}

// Names of any length and script come back whole (the name-length field and
// the block length are written from the same count), in order, with their
// colours; and the file cut at every length keeps exactly the colours of its
// complete blocks and says it is damaged.
TEST(AdobeSwatchExchange, ReadsWhatItWritesAndKeepsWhatACutLeaves)
{
    ColorList list(QStringLiteral("Mixed"));
    const QString names[] = {QStringLiteral("Red"), QStringLiteral("Überrot 🌶"), QString(1000, u'n'), QStringLiteral("#")};
    std::vector<qsizetype> ends; // of each colour's block: after the header and the group start
    for (int i = 0; i < 4; ++i) {
        list.setColor(names[i], Color::fromIntegersSingle(60 * i, 255 - 50 * i, 7 * i));
        ends.push_back((ends.empty() ? 12 + 6 + 2 + 2 * 5 + 2 : ends.back()) + 6 + 22 + 2 * names[i].size());
    }
    const QByteArray whole = writeColorList(list);
    const PaletteReadResult read = readColorList(whole);
    EXPECT_TRUE(read.complete()) << read.error.toStdString();
    EXPECT_EQ(read.colors, list.entries());
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const PaletteReadResult part = readColorList(whole.left(cut));
        const auto complete = std::count_if(ends.begin(), ends.end(), [cut](qsizetype end) { return end <= cut; });
        ASSERT_EQ(part.colors, list.entries().first(complete)) << "cut at " << cut;
        ASSERT_FALSE(part.complete()) << "cut at " << cut;
    }
}
