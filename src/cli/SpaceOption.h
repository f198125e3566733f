#pragma once

#include "Arguments.h"

#include "colour/ColorSpace.h"

#include <QTextStream>

#include <vector>

namespace SpaceOption {

// The space `option` names among `spaces`. An empty name means the default
// (the first space), as an empty setting does. An unknown name (or one of the
// other model) is reported on `err` and sets `failed`, then falls back as the
// settings would, to the first space, so that the values are still converted;
// the exit status tells the script.
ColorSpacePtr fromOption(const Arguments& args, const QString& option, const std::vector<ColorSpacePtr>& spaces,
                         QTextStream& err, bool& failed);

} // namespace SpaceOption
