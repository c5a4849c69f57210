#pragma once
// The desktop shell: opening addresses, starting programs, copying files.
#include <optional>
#include <string>

namespace qm {

constexpr int SW_SHOWNORMAL_ = 1;
constexpr int SW_SHOWMINIMIZED_ = 2;

class ShellPort {
public:
    virtual ~ShellPort() = default;
    // Opens a document or address with its default program (ShellExecuteA); owner 0 = none.
    // Returns the classic result (> 32 is success); callers of the program ignore it.
    virtual int shellExecute(bool ownedByMainWindow, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& folder, int showCommand) = 0;
    // Starts a program by command line with a minimised, focused window; error 53 when it cannot.
    virtual void startProgram(const std::string& commandLine) = 0;
    // The name a desktop's application entry gives the program it starts, when `path` is
    // such an entry (a Linux .desktop file); none for a plain program file.
    virtual std::optional<std::string> applicationName(const std::string& path) = 0;
    // Copies one file without progress display or prompts (SHFileOperationA); true on success.
    virtual bool copyFileSilently(const std::string& source, const std::string& target) = 0;
};

}  // namespace qm
