#pragma once
// Where the program lives: the folder all its files go to, and its executable.
#include <string>

namespace qm {

class ProgramFolderPort {
public:
    virtual ~ProgramFolderPort() = default;
    // The program folder, without a trailing separator.
    virtual std::string folder() = 0;
    // The separator between folder and file name ("\" on Windows, "/" on Linux).
    virtual char separator() = 0;
    // The executable's file name without folder and extension ("Quillmere").
    virtual std::string exeName() = 0;
    // The full path of the running executable.
    virtual std::string exePath() = 0;
    // False when no file can be made in folder(): the options changed would be lost.
    virtual bool keepsFiles() { return true; }
};

}  // namespace qm
