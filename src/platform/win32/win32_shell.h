#pragma once
// The desktop shell on Windows: ShellExecuteA, CreateProcessA with a minimised window,
// SHFileOperationA for a silent copy.
#include "platform/shell.h"

namespace qm {

// The command line CreateProcessA is given: a line holding a blank is one path and gets
// quotes, so the system does not split it; a quoted line is left as it is.
std::string quotedCommandLine(const std::string& commandLine);

class Win32Shell : public ShellPort {
public:
    int shellExecute(bool ownedByMainWindow, const std::string& operation, const std::string& file,
                     const std::string& parameters, const std::string& folder, int showCommand) override;
    // Error 53 when the program cannot be started.
    void startProgram(const std::string& commandLine) override;
    // Windows programs are files: no entry names them.
    std::optional<std::string> applicationName(const std::string&) override { return std::nullopt; }
    bool copyFileSilently(const std::string& source, const std::string& target) override;

    void* mainWindow = nullptr;  // the owner for shellExecute; WinMain sets it once the main window is loaded
};

}  // namespace qm
