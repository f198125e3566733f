#pragma once

#include <QString>

// Tells a running login helper to quit: the signal "terminateHuelarkLoginHelper"
// on the session bus, carrying the text "com.quillfen.Huelark". Without a
// session bus there is no helper to tell; that is logged once and the
// program goes on.
namespace HelperQuitNotice {

inline constexpr auto signalName = "terminateHuelarkLoginHelper";
inline constexpr auto objectPath = "/com/quillfen/Huelark";
inline constexpr auto interfaceName = "com.quillfen.Huelark";

// True when the signal was sent.
bool post();

} // namespace HelperQuitNotice
