#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "base/app_error.h"

namespace qm {

std::string quotedCommandLine(const std::string& commandLine) {
    if (commandLine.empty() || commandLine.front() == '"') return commandLine;
    if (commandLine.find(' ') == std::string::npos) return commandLine;
    return "\"" + commandLine + "\"";
}

int Win32Shell::shellExecute(bool ownedByMainWindow, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& folder, int showCommand) {
    HWND owner = ownedByMainWindow ? static_cast<HWND>(mainWindow) : nullptr;
    HINSTANCE result = ShellExecuteA(owner, operation.empty() ? nullptr : operation.c_str(), file.c_str(),
                                     parameters.empty() ? nullptr : parameters.c_str(),
                                     folder.empty() ? nullptr : folder.c_str(), showCommand);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void Win32Shell::startProgram(const std::string& commandLine) {
    std::string line = quotedCommandLine(commandLine);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');  // CreateProcessA may write into its command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
        raiseError(errFileNotFound);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The shell wants double-NUL-terminated lists of paths.
bool Win32Shell::copyFileSilently(const std::string& source, const std::string& target) {
    std::string from = source + '\0' + '\0';
    std::string to = target + '\0' + '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace qm
