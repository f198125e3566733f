#pragma once

// The session-bus names Huelark and its login helper agree on. Header only,
// so the helper compiles them in without linking anything of the program.
namespace SessionBusNames {

// The bus name a running Huelark owns; also the interface of its notice to
// the login helper and the text that notice carries.
inline constexpr auto applicationIdentifier = "com.quillfen.Huelark";
inline constexpr auto objectPath = "/com/quillfen/Huelark";
inline constexpr auto helperQuitSignal = "terminateHuelarkLoginHelper";

} // namespace SessionBusNames
