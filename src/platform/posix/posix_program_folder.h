#pragma once
#include <string>

#include "platform/program_folder.h"

namespace qm {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string xdgConfigHome();
// True for a folder under /usr (but not /usr/local): the package manager's, even for root.
bool managedByPackages(const std::string& folder);

// The program folder on Linux: the executable's folder when we may write there (a portable
// copy keeps its files beside it), else $XDG_CONFIG_HOME/quillmere, created on first use.
class PosixProgramFolder : public ProgramFolderPort {
public:
    PosixProgramFolder();  // the running executable (/proc/self/exe)
    PosixProgramFolder(std::string exePath, std::string configHome);

    std::string folder() override { return folder_; }
    char separator() override { return '/'; }
    std::string exeName() override;
    std::string exePath() override { return exePath_; }
    bool keepsFiles() override;

private:
    std::string exePath_;
    std::string folder_;
};

}  // namespace qm
