#pragma once
// The upgrade's registry values: the key they live under, their names and the states the
// upgrade passes through; the routines that read and write them are the registry's string
// routines.
#include "settings/registry_strings.h"

namespace qm {

// updateKey: HKEY_LOCAL_MACHINE and this subkey.
inline constexpr const char* kUpdateKey = "Software\\Microsoft\\Quillmere";
inline constexpr const char* kInstalledVersion = "5";

// The values under kUpdateKey.
inline constexpr const char* kVersionValue = "ver";         // the installed version
inline constexpr const char* kDownloadedAtValue = "App";    // when the download was saved
inline constexpr const char* kUpgradeStateValue = "Up";     // one of the states below
inline constexpr const char* kThanksRequestValue = "donreq";

// The states of "Up", each tested as "the value holds this letter", in this order.
inline constexpr const char* kUpgradeIdle = "a";       // nothing to do at start
inline constexpr const char* kUpgradeReplace = "b";    // put the download in place and restart
inline constexpr const char* kUpgradeFinish = "c";     // remove the download and thank once
// kThanksRequestValue holding this asks for the thanks after the upgrade.
inline constexpr const char* kThanksRequested = "z";

}  // namespace qm
