#pragma once
// The release done once after start-up, one wait after the window has loaded.
#include "app/app_context.h"
#include "memory/release_engine.h"

namespace qm {

void checkStartupRelease(AppContext& ctx, ReleaseEngine& engine);

}  // namespace qm
