#pragma once
// The program's command line: the text of its arguments in, one request or one usage error
// out. Without arguments the program is the window, as it always was.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

enum class CommandKind { Window, Help, Version, Status, Release, Show };

struct Command {
    CommandKind kind = CommandKind::Window;
    bool json = false;                 // --status --json
    std::optional<int32_t> releaseMB;  // --release=MB; none: the running copy's selection
};

// The exit statuses, as --help lists them.
enum ExitStatus : int {
    kExitDone = 0,
    kExitFailed = 1,          // no display for the window, the release could not be run
    kExitUsage = 2,           // a bad command line: nothing was started or written
    kExitAlreadyReleasing = 3 // the running copy is releasing already: nothing was started
};

struct ParsedCommand {
    Command command;
    std::string error;  // a usage error in one line; empty when the line was understood
    bool ok() const { return error.empty(); }
};

// `args` without the program's name. `windowsForms` also takes "/release" for
// "--release" (the Windows program). `machineMB` bounds --release=MB.
ParsedCommand parseCommandLine(const std::vector<std::string>& args, bool windowsForms, int64_t machineMB);

// What --help prints: the options and the exit statuses.
std::string helpText(const std::string& programName);

}  // namespace qm
