#pragma once
// The desktop shell on Linux: addresses and documents open with xdg-open, programs start
// with posix_spawn, files are copied beside the target and renamed over it.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace qm {

// Starts `arguments` (program first, looked up in PATH when it has no '/') detached from
// this process, so it outlives us and leaves no zombie; false when it could not start.
bool spawnDetached(const std::vector<std::string>& arguments);

class PosixShell : public ShellPort {
public:
    // "Open" on an address or file: 42 when xdg-open was started, 2 (file not found) when
    // there is no xdg-open, 31 (no association) for another operation.
    int shellExecute(bool ownedByMainWindow, const std::string& operation, const std::string& file,
                     const std::string& parameters, const std::string& folder, int showCommand) override;
    // The command line is a program path, quoted when it holds blanks, then its arguments;
    // an unquoted line is one path, blanks and all. Error 53 when it is no executable file.
    // A line that is the path of an application entry (.desktop) starts that entry.
    void startProgram(const std::string& commandLine) override;
    // The Name of an application entry.
    std::optional<std::string> applicationName(const std::string& path) override;
    bool copyFileSilently(const std::string& source, const std::string& target) override;

    std::string opener = "xdg-open";  // tests point this at a recording script
};

}  // namespace qm
