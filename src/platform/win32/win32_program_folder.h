#pragma once
// The folder of the running executable, from the module file name.
#include "platform/program_folder.h"

namespace qm {

// The folder part of a Windows path, without its trailing separator (a drive root gives "C:").
std::string folderOfPath(const std::string& path);
// The file name without folder and extension.
std::string baseNameOfPath(const std::string& path);

class Win32ProgramFolder : public ProgramFolderPort {
public:
    std::string folder() override { return folderOfPath(exePath()); }
    char separator() override { return '\\'; }
    std::string exeName() override { return baseNameOfPath(exePath()); }
    std::string exePath() override;
};

}  // namespace qm
