// The command line as the entry reads it, and the lines a start prints for the figures.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/command_runner.h"

namespace qm {
namespace {

struct LineCase {
    std::vector<std::string> args;
    bool windows;
    CommandKind kind;
    std::optional<int32_t> mb;
    const char* error;  // a part of the message; "" when the line is understood
};

constexpr int64_t kMachineMB = 16384;

TEST(CommandLine, EachLineGivesOneRequestOrOneMessage) {
    const LineCase cases[] = {
        {{}, false, CommandKind::Window, {}, ""},
        {{"--help"}, false, CommandKind::Help, {}, ""},
        {{"--version"}, false, CommandKind::Version, {}, ""},
        {{"--status"}, false, CommandKind::Status, {}, ""},
        {{"--status", "--json"}, false, CommandKind::Status, {}, ""},
        {{"--release"}, false, CommandKind::Release, {}, ""},
        {{"--release=512"}, false, CommandKind::Release, 512, ""},
        {{"--release=0"}, false, CommandKind::Release, 0, ""},
        {{"--release=16384"}, false, CommandKind::Release, 16384, ""},
        {{"--show"}, false, CommandKind::Show, {}, ""},
        {{"/release"}, true, CommandKind::Release, {}, ""},
        {{"/release:256"}, true, CommandKind::Release, 256, ""},
        {{"/Status"}, true, CommandKind::Status, {}, ""},
        {{"-show"}, true, CommandKind::Show, {}, ""},
        {{"/release"}, false, CommandKind::Window, {}, "unknown argument: /release"},
        {{"--release:256"}, false, CommandKind::Window, {}, "unknown option"},
        {{"--frobnicate"}, false, CommandKind::Window, {}, "unknown option: --frobnicate"},
        {{"plain"}, false, CommandKind::Window, {}, "unknown argument: plain"},
        {{"--release="}, false, CommandKind::Window, {}, "needs a number"},
        {{"--release=abc"}, false, CommandKind::Window, {}, "abc is no whole number"},
        {{"--release=12.5"}, false, CommandKind::Window, {}, "12.5 is no whole number"},
        {{"--release=-5"}, false, CommandKind::Window, {}, "-5 is negative"},
        {{"--release= 5"}, false, CommandKind::Window, {}, "no whole number"},
        {{"--release=16385"}, false, CommandKind::Window, {}, "more than this machine's 16384 MB"},
        {{"--release=99999999999"}, false, CommandKind::Window, {}, "out of range"},
        {{"--status=1"}, false, CommandKind::Window, {}, "--status takes no value"},
        {{"--json"}, false, CommandKind::Window, {}, "--json goes with --status only"},
        {{"--release", "--json"}, false, CommandKind::Window, {}, "--json goes with --status only"},
        {{"--help", "--version"}, false, CommandKind::Window, {}, "only one of"},
    };
    for (const LineCase& c : cases) {
        const ParsedCommand parsed = parseCommandLine(c.args, c.windows, kMachineMB);
        const std::string line = c.args.empty() ? "(none)" : c.args[0];
        if (*c.error) {
            EXPECT_NE(parsed.error.find(c.error), std::string::npos) << line << ": " << parsed.error;
            EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line";
            continue;
        }
        EXPECT_TRUE(parsed.ok()) << line << ": " << parsed.error;
        EXPECT_EQ(parsed.command.kind, c.kind) << line;
        EXPECT_EQ(parsed.command.releaseMB, c.mb) << line;
    }
    EXPECT_TRUE(parseCommandLine({"--status", "--json"}, false, kMachineMB).command.json);
}

TEST(CommandLine, TheFiguresAsALineAndAsJson) {
    constexpr uint64_t MB = 1024 * 1024;
    const StatusFigures figures{{24000 * MB, 20000 * MB + MB / 2, 26000 * MB, 21000 * MB, 0}, 7};
    EXPECT_EQ(statusLine(figures),
              "Physical memory: 24000 MB total, 20001 MB available. Page file: 26000 MB total, 21000 MB available. "
              "Processor: 7%.");
    EXPECT_EQ(statusJson(figures),
              "{\"physical_total_mb\":24000,\"physical_available_mb\":20001,\"page_file_total_mb\":26000,"
              "\"page_file_available_mb\":21000,\"processor_percent\":7}");
    EXPECT_EQ(versionText("abc123, Linux"), "Quillmere v1.0 (build abc123, Linux)");
}

}  // namespace
}  // namespace qm
