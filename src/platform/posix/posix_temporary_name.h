#pragma once
// The temporaries replaceFile writes: ".<name>.qmtmp-<pid>-XXXXXX" beside the target, so
// a later start can tell ours from the user's files and whose writer is gone.
#include <string>

namespace qm {

// Creates a new temporary beside target (mode 0666 less the umask) and names it in
// temporary; the open descriptor, or -1 with errno set.
int createTemporary(const std::string& target, std::string& temporary);

}  // namespace qm
