// Desktop entries: any file text reads without fault, and arguments quoted into an Exec
// line the way the desktop's rules ask, inside a file with its string escapes, start
// with exactly those arguments.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/posix/desktop_entry.h"

using namespace qm::posix;

namespace {

// One argument of an Exec value: double quotes around it, the reserved characters escaped.
std::string quotedArgument(const std::string& argument) {
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return out + '"';
}

// A value as it stands in the file: backslashes and line ends escaped.
std::string fileValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::vector<std::string> someArguments(FuzzedDataProvider& in) {
    std::vector<std::string> arguments(in.ConsumeIntegralInRange<size_t>(1, 4));
    for (std::string& argument : arguments) argument = in.ConsumeRandomLengthString(24);
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::vector<std::string> arguments = someArguments(in);
    const std::string text = in.ConsumeRemainingBytesAsString();
    (void)launchArguments(text, "/usr/share/applications/x.desktop");
    if (const auto entry = parseDesktopEntry(text)) (void)execArguments(entry->exec, {entry->name, entry->icon, "x"});

    std::string exec;
    for (const std::string& argument : arguments) exec += (exec.empty() ? "" : " ") + quotedArgument(argument);
    qm::fuzz::require(execArguments(exec, {}) == arguments, "quoted arguments split back");
    const std::string file = "[Desktop Entry]\nType=Application\nName=x\nExec=" + fileValue(exec) + "\n";
    qm::fuzz::require(launchArguments(file, "/x.desktop") == arguments, "an entry starts its own arguments");
    return 0;
}
