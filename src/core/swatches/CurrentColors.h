#pragma once

#include "colour/Color.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class ColorSpaceRegistry;
class UserDefaults;
class WellColorSpace;

// The current colour as it is kept between runs ("color_last") and the list
// of the swatch column ("currentColors"), top first, each an archived colour
// in the window's space. Every change is stored at once.
//
// Windows other than the main one change the current colour through one
// hand-over: they write "color_last" (and "currentColors" when they change
// the list), flush, and the main window reloads both and records the result.
// handOver() does the writing and emits colorsHandedOver() for the reload.
//
// Two swatches are the same colour when they have the same hex code in the
// window's space: every notation the window shows is made from those
// integers, so nothing tells them apart. Main thread only.
class CurrentColors : public QObject
{
    Q_OBJECT

public:
    CurrentColors(UserDefaults& defaults, const ColorSpaceRegistry& spaces, const WellColorSpace& well,
                  QObject* parent = nullptr);

    // What a swatch that is not a colour shows and records as.
    static Color fallbackColor();
    // The stored swatches as colours (unconverted), the fallback for data
    // that is not a colour.
    static QList<Color> storedSwatches(const UserDefaults& defaults, const ColorSpaceRegistry& spaces);

    const ColorSpacePtr& wellSpace() const;

    // ---- the current colour
    // "color_last" in the window's space, the default colour when absent.
    std::optional<Color> lastColor() const;
    void saveMainColor(const Color& color);

    // ---- the swatch list
    // Moves the swatches of older versions ("color_1" to "color_8") into
    // "currentColors", once.
    void migrateOlderSwatches();
    // Rereads "currentColors".
    const QList<QByteArray>& swatchesArray();
    const QList<QByteArray>& swatchData() const { return swatches; }
    int count() const { return int(swatches.size()); }

    // The swatch of `row` in the window's space.
    Color swatchColor(int row) const;
    QList<Color> currentPalette() const;
    // The stored hex code of `color` in the window's space.
    QString hexKey(const Color& color) const;
    // The hex code of each swatch, top first.
    const QStringList& hexKeys() const;
    bool isSwatch(const Color& color) const;

    // Changes, each stored at once; false when nothing changed.
    bool addSwatch(const Color& color);
    bool removeSwatch(int row);  // never the last one
    bool moveSwatch(int from, int gap);

    // The hand-over: "color_last" becomes `last` and, when given, the list
    // becomes `list`; then colorsHandedOver().
    void handOver(const Color& last, const std::optional<QList<Color>>& list = std::nullopt);
    // The hand-over that adds: each of `colors` whose value (space and
    // components, in the window's space) no readable swatch of the list as
    // it was has (repeats within `colors` all go) to the end of the list
    // as it is stored, every stored swatch left exactly as it is, even one
    // this version cannot read.
    void handOverAdding(const Color& last, const QList<Color>& colors);
    // Keeps only the top swatch, handing `current` over with it.
    void keepTopSwatch(const Color& current);

Q_SIGNALS:
    void swatchesChanged();
    void colorsHandedOver();

private:
    Color colorOf(const QByteArray& data) const;
    QByteArray archiveInWellSpace(const Color& color) const;
    void store();

    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    const WellColorSpace& well;
    QList<QByteArray> swatches;
    mutable QStringList keys;
    mutable ColorSpacePtr keysSpace;
};
