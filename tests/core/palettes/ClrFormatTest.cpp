#include "FileBytes.h"

#include "colour/ColorSpace.h"
#include "palettes/ClrColor.h"
#include "palettes/ClrFormat.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <bit>
#include <cstring>
#include <vector>

namespace {

struct Row
{
    const char* what;
    QByteArray bytes;
    QStringList keys;
    QStringList codes;
    bool complete;
};

QString code(const Color& c)
{
    const auto [r, g, b] = c.integerComponents();
    return QString::asprintf("#%02X%02X%02X", r, g, b);
}

void check(const Row& row)
{
    const PaletteReadResult read = ClrFormat::readColorList(row.bytes);
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
    EXPECT_EQ(layout(keyedSample).size(), 33);
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
        {"typed: fewer colours than counted", typed(3, pair(red, "Red")), {"Red"}, {"#FF0000"}, false},
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
