#pragma once
// What a start with a command line does, before any window exists: prints and ends, hands
// the request to the running copy over the single-instance channel, or runs one release
// cycle without a window (the button's engine, budget and safety; only the host differs).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "base/trap.h"
#include "platform/platform.h"

namespace qm {

// The figures the gauges show, as --status prints them.
struct StatusFigures {
    MemoryStatus memory;
    int32_t cpuPercent = 0;
};
std::string statusLine(const StatusFigures& figures);
std::string statusJson(const StatusFigures& figures);

// The version the title shows and the build it came from.
std::string versionText(const std::string& build);

struct CommandIo {
    std::function<void(const std::string&)> out;   // standard output, a line at a time
    std::function<void(const std::string&)> err;   // standard error
    std::function<void(int ms)> pause;             // sleeps, for the processor load's two readings
};

// Status, Release and Show; the exit status, or nullopt when the window is to start after
// all (--show with no copy running). `log` is the program's error log.
std::optional<int> runCommand(const Command& command, Platform& platform, ErrorSink& log, const CommandIo& io);

// The same with the program's own error log, beside the program.
std::optional<int> runCommand(const Command& command, Platform& platform, const CommandIo& io);

// How a program's entry names itself and reads its line.
struct CommandEntry {
    const char* programName;  // "quillmere", "Quillmere.exe"
    std::string build;        // what --version names besides the version
    bool windowsForms;        // "/release" as well as "--release"
    int64_t machineMB;        // the bound of --release=MB
};
// The whole command-line start: a usage error, --help and --version here; the rest run by
// `onMachine` (which makes the ports and calls runCommand). nullopt: the window starts.
std::optional<int> actOnCommandLine(const std::vector<std::string>& args, const CommandEntry& entry,
                                    const CommandIo& io, const std::function<std::optional<int>(const Command&)>& onMachine);

// One release cycle of `amountMB` beyond what is available, without a window; its result.
std::string releaseWithoutWindow(Platform& platform, ErrorSink& log, int32_t amountMB);

}  // namespace qm
