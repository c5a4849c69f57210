#pragma once
// The names of the temporaries our file writers create beside a target while they replace
// it: ".<name>.qmtmp-<process id>-XXXXXX". A later start tells ours from the user's files by
// the name, and by the process id whether their writer is gone.
#include <optional>
#include <string>

namespace qm {

// A fresh name for a temporary of target's file name (long names are cut, so the temporary
// still fits a folder entry); serial makes the six random characters differ between calls.
std::string temporaryNameFor(const std::string& fileName, unsigned long processId, unsigned long long serial);

// The writer's process id in one of our temporaries' names; nothing for any other name.
std::optional<unsigned long> temporaryWriter(const std::string& name);

}  // namespace qm
