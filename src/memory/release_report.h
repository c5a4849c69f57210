#pragma once
// What a release cycle freed, as the user reads it. On Linux most of what a release frees
// is page cache, which "available" already counts, so the text says what grew: free
// memory, and available memory beside it.
#include <string>

#include "memory/release_engine.h"

namespace qm {

// "Released 1234 MB: free memory rose from 812 to 2046 MB; available memory from 20100 to
// 20300 MB." Where the platform has no free figure apart (Windows), only available memory.
std::string releaseResultText(const ReleaseResult& result);
// Whole MB the free memory grew by (negative when it shrank).
int64_t freedMB(const ReleaseResult& result);

}  // namespace qm
