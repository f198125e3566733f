#pragma once

#include "login/SessionBusNames.h"

#include <QString>

// Tells a running login helper to quit: the signal "terminateHuelarkLoginHelper"
// on the session bus, carrying the text "com.quillfen.Huelark". Without a
// session bus there is no helper to tell; that is logged once and the
// program goes on.
namespace HelperQuitNotice {

inline constexpr auto signalName = SessionBusNames::helperQuitSignal;
inline constexpr auto objectPath = SessionBusNames::objectPath;
inline constexpr auto interfaceName = SessionBusNames::applicationIdentifier;

// True when the signal was sent.
bool post();

} // namespace HelperQuitNotice
