#include "platform/posix/autostart_entry.h"

#include "platform/posix/desktop_entry.h"

namespace qm {
namespace {

constexpr const char* kOwnMark = "X-Quillmere-Autostart=true";

std::string withBlankQuoted(const std::string& argument) {
    return argument.find(' ') == std::string::npos ? argument : '"' + argument + '"';
}

std::string fileStringEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string lineValue(const std::string& text, const std::string& key) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
        pos = end + 1;
    }
    return {};
}

}  // namespace

std::vector<std::string> runValueArguments(const std::string& data) {
    if (data.empty() || data[0] != '"') return {data};
    const size_t close = data.find('"', 1);
    std::vector<std::string> arguments{data.substr(1, close == std::string::npos ? std::string::npos : close - 1)};
    if (close == std::string::npos) return arguments;
    size_t pos = close + 1;
    while (pos < data.size()) {
        const size_t start = data.find_first_not_of(' ', pos);
        if (start == std::string::npos) break;
        pos = data.find(' ', start);
        arguments.push_back(data.substr(start, pos == std::string::npos ? std::string::npos : pos - start));
    }
    return arguments;
}

std::string runValueData(const std::vector<std::string>& arguments) {
    std::string data;
    for (const std::string& argument : arguments) data += (data.empty() ? "" : " ") + withBlankQuoted(argument);
    return data;
}

std::string desktopExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return fileStringEscaped(quoted + '"');
}

std::vector<std::string> desktopExecArguments(const std::string& fileValue) {
    const std::string exec = posix::unescapedValue(fileValue);
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false, any = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == '"') inQuotes = !inQuotes, any = true;
        else if (inQuotes && c == '\\' && i + 1 < exec.size()) current += exec[++i];
        else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') current += exec[++i];
        else if (!inQuotes && c == ' ') {
            if (any) arguments.push_back(current);
            current.clear(), any = false;
        } else current += c, any = true;
    }
    if (any) arguments.push_back(current);
    return arguments;
}

std::string autostartEntryText(const std::string& runData) {
    std::string exec;
    for (const std::string& argument : runValueArguments(runData)) {
        exec += (exec.empty() ? "" : " ") + desktopExecArgument(argument);
    }
    return "[Desktop Entry]\nType=Application\nName=Quillmere\nComment=Frees up RAM and shows memory use\n"
           "Exec=" + exec + "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n" + kOwnMark + "\n";
}

std::optional<std::string> runDataOfEntry(const std::string& text) {
    if (text.find(std::string("\n") + kOwnMark) == std::string::npos) return std::nullopt;
    return runValueData(desktopExecArguments(lineValue(text, "Exec")));
}

}  // namespace qm
