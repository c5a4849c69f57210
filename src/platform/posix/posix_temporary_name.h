#pragma once
// The temporaries replaceFile writes beside the target, named as platform/temporary_name.h says.
#include <string>

namespace qm {

// Creates a new temporary beside target (mode 0666 less the umask) and names it in
// temporary; the open descriptor, or -1 with errno set.
int createTemporary(const std::string& target, std::string& temporary);

}  // namespace qm
