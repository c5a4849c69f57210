#pragma once
// Every file the Linux ports replace goes through replaceFile: the bytes go to a temporary
// beside the target, are flushed, and the temporary is renamed over the target, so a crash
// or a full disk leaves the old file or the new one, never half of either (bar the in-place
// update below). Appending, as the error log does, goes through PosixFiles::append and
// writes in place.
//
// The rights follow Windows: a file we may not write is not replaced (rename only asks the
// folder), and a writable file in a folder that forbids new entries is updated in place.
#include <sys/types.h>

#include <optional>
#include <string>

namespace qm {

enum class ReadState { Missing, Read, Unreadable };

// A small file read whole. Unreadable: something is there that we may not or cannot read
// (rights, no ordinary file, larger than the limit, a read error); such a file is never
// replaced with what we would make of nothing.
struct SmallFile {
    ReadState state = ReadState::Missing;
    std::string bytes;
};

SmallFile readSmallFile(const std::string& path, size_t maxBytes);

// Replaces (or creates) the file at path with bytes; a symbolic link is followed, so the
// file it points to is replaced and the link stays. The file keeps its rights (a new one
// gets 0666 less the umask) unless `mode` is given. 0 on success, else the errno of the
// step that failed; the old file is then as it was.
int replaceFile(const std::string& path, const std::string& bytes, std::optional<mode_t> mode = {});

// True for the name of one of our temporaries: ".<name>.qmtmp-<pid>-XXXXXX".
bool isOurTemporaryName(const std::string& name);

// Removes the temporaries in folder left by a writer that no longer runs (a program killed
// mid-write); returns how many went.
int removeStaleTemporaries(const std::string& folder);

}  // namespace qm
