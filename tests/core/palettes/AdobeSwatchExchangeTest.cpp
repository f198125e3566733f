#include "colour/ColorSpace.h"
#include "palettes/AdobeSwatchExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>

using namespace AdobeSwatchExchange;

namespace {

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
// the colours' integer components, and whether the file counted as complete.
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
    const struct { const char* what; QByteArray bytes; QStringList keys; std::vector<std::array<int, 3>> rgb; bool complete; } rows[] = {
        {"a group of three", file(5, group + three + groupEnd), {"Red", "Green", "Blue"},
         {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, true},
        {"one name thrice", file(3, red + red + red), {"Red", "Red 1", "Red 2"}, {{255, 0, 0}, {255, 0, 0}, {255, 0, 0}}, true},
        {"no name: code, truncated", file(1, entry("", "RGB ", {0.999f, 0, 1})), {"#FE00FF"}, {{255, 0, 255}}, true},
        {"out of range: clamped first", file(1, entry("", "RGB ", {2, -1, 0.5f})), {"#FF007F"}, {{255, 0, 128}}, true},
        {"CMYK and grey", file(2, entry("C", "CMYK", {0, 1, 1, 0}) + entry("G", "Gray", {0.5f})), {"C", "G"},
         {{255, 0, 0}, {128, 128, 128}}, true},
        {"Lab: D50, L* a fraction of 100, not black", file(2, entry("L", "LAB ", {0.5429f, 80.8f, 69.89f}) + entry("W", "LAB ", {1, 0, 0})),
         {"L", "W"}, {{255, 0, 0}, {255, 255, 255}}, true},
        {"extra bytes inside a block", file(2, padded + entry("Green", "RGB ", {0, 1, 0})), {"Red", "Green"},
         {{255, 0, 0}, {0, 255, 0}}, true},
        {"an unknown model is skipped", file(3, red + entry("H", "HSV ", {1, 1, 1}) + red), {"Red", "Red 1"},
         {{255, 0, 0}, {255, 0, 0}}, true},
        {"no colour type", file(1, noType), {"Short"}, {{128, 128, 128}}, true},
        {"a name longer than its block", file(3, red + lyingName + red), {"Red", "Red 1"}, {{255, 0, 0}, {255, 0, 0}}, false},
        {"not a number", file(2, entry("NaN", "RGB ", {NAN, 0, 0}) + entry("Inf", "RGB ", {0, INFINITY, 0})), {}, {}, false},
        {"fewer blocks than counted", file(100, red + red), {"Red", "Red 1"}, {{255, 0, 0}, {255, 0, 0}}, false},
        {"a count of four thousand million", file(0xFFFFFFFF, red), {"Red"}, {{255, 0, 0}}, false},
        {"a block longer than the file", file(2, red + block(1, "x").replace(2, 4, u32(0xFFFFFFF0))), {"Red"}, {{255, 0, 0}}, false},
        {"cut inside the header", QByteArray("ASEF\0\1", 6), {}, {}, false},
        {"wrong signature", "ASEG" + u16(1) + u16(0) + u32(1) + red, {}, {}, false},
        {"empty", {}, {}, {}, false},
        {"over 16 MB", file(1, red) + QByteArray(16 * 1024 * 1024, '\0'), {}, {}, false},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = readColorList(row.bytes);
        QStringList keys;
        std::vector<std::array<int, 3>> rgb;
        for (const ColorList::Entry& e : read.colors) {
            keys += e.key;
            rgb.push_back(e.color.integerComponents());
        }
        EXPECT_EQ(keys, row.keys) << row.what;
        EXPECT_EQ(rgb, row.rgb) << row.what;
        EXPECT_EQ(read.complete(), row.complete) << row.what << ": " << read.error.toStdString();
    }
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
