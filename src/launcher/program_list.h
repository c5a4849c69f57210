#pragma once
// Launcher.mbl: the user's program list, one entry per line, CR LF line ends. An entry is
// the display name, 52 blanks, "|" and the program's full path.
#include <optional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "platform/files.h"

namespace qm {

inline constexpr const char* kProgramListFile = "Launcher.mbl";
inline constexpr int kMaxPrograms = 30;
// The file may hold any number of lines, but a list far past thousands of entries is no
// list of ours: a larger file is not read (the list stays empty, the file as it is).
inline constexpr uint64_t kMaxProgramListBytes = 1024 * 1024;

// The file's lines: a line ends at CR (a following LF is skipped); a lone LF is part of
// the line. Every line is kept as it is, empty ones included; no line follows a final CR.
std::vector<std::string> splitLauncherLines(const std::string& bytes);

// Appends the entries of the file at `path` to `lstLauncher`; a missing or empty file
// adds nothing. File errors are raised for the caller's trap (7 for a file longer than
// kMaxProgramListBytes, 75 for something that is no ordinary file).
void loadProgramList(FilesPort& files, const std::string& path, ListControl& lstLauncher);

// The file's bytes for a list: every entry followed by CR LF (nothing for an empty list).
std::string programListText(const std::vector<std::string>& entries);

// The display name of a program file: its name without the folder, every ".exe" removed
// whatever its case (tool.exe.exe gives tool, Setup.EXE gives Setup).
std::string displayName(const std::string& path);

// A name as it may stand in an entry: no "|" (the path starts after the first one) and no
// line ends (each entry is one line of the file).
std::string entryName(const std::string& name);

// The entry for a program: its name, 52 blanks, "|" and the full path.
std::string programEntry(const std::string& name, const std::string& path);

// The program path of an entry: everything after its first "|"; none without one.
std::optional<std::string> entryPath(const std::string& entry);

}  // namespace qm
