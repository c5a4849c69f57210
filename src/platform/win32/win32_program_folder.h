#pragma once
// The folder of the running executable, from the module file name, named so the ANSI text
// functions can open it (its short form when its letters are outside the code page). When
// that folder cannot be written (unpacked into Program Files) or cannot be named, the
// program's files go to the user's application-data folder instead.
#include <optional>

#include "platform/program_folder.h"

namespace qm {

// The folder part of a Windows path, without its trailing separator (a drive root gives "C:").
std::string folderOfPath(const std::string& path);
// The file name without folder and extension.
std::string baseNameOfPath(const std::string& path);
// A wide path as ANSI text that opens the same file: itself, else its short form; nothing
// when neither can be written in the code page.
std::optional<std::string> ansiPath(const std::wstring& path);

class Win32ProgramFolder : public ProgramFolderPort {
public:
    std::string folder() override;
    char separator() override { return '\\'; }
    std::string exeName() override { return baseNameOfPath(exePath()); }
    std::string exePath() override;
    bool keepsFiles() override;

private:
    std::optional<std::string> folder_;
    bool keepsFiles_ = true;
};

// True when a file can be made in the folder.
bool folderWritable(const std::string& folder);
// "<application data>\Quillmere", made when missing; nothing when there is none to name.
std::optional<std::string> applicationDataFolder();

}  // namespace qm
