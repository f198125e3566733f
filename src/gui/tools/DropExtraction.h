#pragma once

#include "tools/ToolParts.h"

// The dominant colours of what was dropped on the tool window, as its
// preview takes them: every colour the distinct filter keeps, most frequent
// first. Several files count as one picture of them side by side. Runs on
// a worker thread.
namespace DropExtraction {

DropColors extract(const DropJob& job);

} // namespace DropExtraction
