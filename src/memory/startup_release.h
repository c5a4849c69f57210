#pragma once
// The release done once after start-up, one wait after the window has loaded.
#include "context/subsystem_context.h"
#include "memory/release_engine.h"

namespace qm {

void checkStartupRelease(SubsystemContext& ctx, ReleaseEngine& engine);

}  // namespace qm
