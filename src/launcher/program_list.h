#pragma once
// Launcher.mbl: the user's program list, one entry per line, CR LF line ends.
#include <string>
#include <vector>

#include "forms/control.h"
#include "platform/files.h"

namespace qm {

inline constexpr const char* kProgramListFile = "Launcher.mbl";

// The file's lines: a line ends at CR (a following LF is skipped); a lone LF is part of
// the line. Every line is kept as it is, empty ones included; no line follows a final CR.
std::vector<std::string> splitLauncherLines(const std::string& bytes);

// Appends the entries of the file at `path` to `lstLauncher`; a missing or empty file
// adds nothing. File errors are raised for the caller's trap.
void loadProgramList(FilesPort& files, const std::string& path, ListControl& lstLauncher);

}  // namespace qm
