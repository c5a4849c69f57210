#include "app/command_line.h"

#include "base/catalogue.h"

#include <cctype>

namespace qm {

namespace {

struct Option {
    const char* name;
    CommandKind kind;
};

constexpr Option kOptions[] = {{"help", CommandKind::Help},     {"version", CommandKind::Version},
                               {"status", CommandKind::Status}, {"release", CommandKind::Release},
                               {"show", CommandKind::Show}};

// "--name" or "--name=value" (and "/name" on Windows): the name and the value, if any.
bool splitOption(const std::string& arg, bool windowsForms, std::string& name, std::optional<std::string>& value) {
    size_t start = 0;
    if (arg.rfind("--", 0) == 0) start = 2;
    else if (windowsForms && arg.size() > 1 && (arg[0] == '/' || arg[0] == '-')) start = 1;
    else return false;
    const size_t equals = arg.find_first_of(windowsForms ? "=:" : "=", start);
    name = arg.substr(start, equals == std::string::npos ? std::string::npos : equals - start);
    if (equals != std::string::npos) value = arg.substr(equals + 1);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !name.empty();
}

// A whole number of MB: digits only (no sign, no fraction, no blanks), within the machine.
std::string checkAmount(const std::string& text, int64_t machineMB, int32_t& mb) {
    if (text.empty()) return N_("--release= needs a number of MB");
    if (text[0] == '-') return formatText(N_("--release: the amount %1 is negative"), {text});
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return formatText(N_("--release: %1 is no whole number of MB"), {text});
    }
    if (text.size() > 9) return formatText(N_("--release: %1 MB is out of range"), {text});
    const long long value = std::stoll(text);
    if (machineMB > 0 && value > machineMB) {
        return formatText(N_("--release: %1 MB is more than this machine's %2 MB"), {text, std::to_string(machineMB)});
    }
    mb = static_cast<int32_t>(value);
    return {};
}

std::string applyOption(Command& command, const Option& option, const std::optional<std::string>& value,
                        int64_t machineMB) {
    if (command.kind != CommandKind::Window) return N_("only one of --help, --version, --status, --release, --show");
    command.kind = option.kind;
    if (option.kind != CommandKind::Release) {
        return value ? formatText(N_("--%1 takes no value"), {option.name}) : std::string();
    }
    if (!value) return {};
    int32_t mb = 0;
    const std::string error = checkAmount(*value, machineMB, mb);
    if (error.empty()) command.releaseMB = mb;
    return error;
}

}  // namespace

ParsedCommand parseCommandLine(const std::vector<std::string>& args, bool windowsForms, int64_t machineMB) {
    ParsedCommand parsed;
    bool json = false;
    for (const std::string& arg : args) {
        std::string name;
        std::optional<std::string> value;
        if (!splitOption(arg, windowsForms, name, value)) return {{}, formatText(N_("unknown argument: %1"), {arg})};
        if (name == "json" && !value) {
            json = true;
            continue;
        }
        const Option* option = nullptr;
        for (const Option& o : kOptions) {
            if (name == o.name) option = &o;
        }
        if (!option) return {{}, formatText(N_("unknown option: %1"), {arg})};
        parsed.error = applyOption(parsed.command, *option, value, machineMB);
        if (!parsed.ok()) return {{}, parsed.error};
    }
    if (json && parsed.command.kind != CommandKind::Status) return {{}, N_("--json goes with --status only")};
    parsed.command.json = json;
    return parsed;
}

std::string helpText(const std::string& programName) {
    return formatText(N_("Usage: %1 [option]\n"
           "Frees physical memory and shows memory and processor load. Without an option the\n"
           "window opens (or a copy already running shows its own).\n"
           "\n"
           "  --help          print this help and exit\n"
           "  --version       print the version and the build and exit\n"
           "  --status        print total and available physical memory, the page file and\n"
           "                  the processor load in one line; with --json as one JSON object\n"
           "  --release[=MB]  free memory as \"FreeUp RAM Now\" does, by MB or, without a number,\n"
           "                  by the amount the running copy has selected; without a running\n"
           "                  copy the release runs here, without a window, and MB is needed\n"
           "  --show          bring the running copy forward, or start one\n"
           "\n"
           "Exit status: 0 done; 1 failed (no display for the window, no release possible);\n"
           "2 bad command line (nothing started, nothing written); 3 a release is running\n"
           "already (nothing started)."), {programName});
}

}  // namespace qm
