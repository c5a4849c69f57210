#pragma once
// Small files of ours that are replaced whole: read with a size limit, written to a hidden
// temporary beside the target and renamed over it, so a crash leaves the old file or the
// new one, never half of either.
#include <optional>
#include <string>

namespace qm {

// The contents of an ordinary file of at most maxBytes; nothing when it is missing, is no
// ordinary file, is larger, or cannot be read.
std::optional<std::string> readSmallFile(const std::string& path, size_t maxBytes);

// Replaces (or creates) the file; false when any step failed (the old file is then kept).
// `mode` is the new file's permission bits before the umask (0755 for a program).
bool replaceFileAtomically(const std::string& path, const std::string& bytes, unsigned mode = 0666);

}  // namespace qm
