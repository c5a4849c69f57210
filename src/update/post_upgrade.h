#pragma once
// The steps at every start that finish an upgrade a download began, driven by the state
// value (kUpgradeStateValue): kUpgradeReplace puts the downloaded version in place of the
// program and restarts it, kUpgradeFinish removes the download and thanks the user once.
#include <string>

#include "base/catalogue.h"
#include "base/trap.h"
#include "forms/host.h"
#include "platform/platform.h"

namespace qm {

inline constexpr const char* kUpgradedMessage = N_("Quillmere Upgraded. Thank you");

// What the state value "Up" asks of this start.
enum class UpgradeStep { None, Replace, Finish };
UpgradeStep pendingUpgradeStep(RegistryPort& registry);

// Runs before the main window is loaded; false when it ended the program.
bool postUpgradeCheck(Host& host, Platform& platform, ErrorSink& log);

// The same, against a given site (the start-up passes updateSite()).
bool postUpgradeCheck(Host& host, Platform& platform, ErrorSink& log, const std::string& site);

// Returns when the tick count has passed its value at entry plus n seconds, letting window
// events run meanwhile (the tick count wraps at 2^32).
void waitSeconds(Host& host, ClockPort& clock, int32_t n);

}  // namespace qm
