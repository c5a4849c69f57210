#include "platform/posix/desktop_entry.h"

#include "base/text.h"

namespace qm::posix {

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

void setField(DesktopEntry& entry, std::string_view key, std::string value, std::vector<std::string>& seen) {
    for (const std::string& k : seen) {
        if (k == key) return;
    }
    seen.emplace_back(key);
    if (key == "Type") entry.type = std::move(value);
    else if (key == "Name") entry.name = std::move(value);
    else if (key == "Exec") entry.exec = std::move(value);
    else if (key == "Icon") entry.icon = std::move(value);
    else if (key == "Terminal") entry.terminal = value == "true";
}

// Splits an Exec value into arguments while it expands the field codes.
class ExecSplitter {
public:
    explicit ExecSplitter(const ExecFields& fields) : fields_(fields) {}

    bool run(std::string_view exec) {
        for (size_t i = 0; i < exec.size(); ++i) {
            if (!take(exec, i)) return false;
        }
        if (quoted_) return false;
        finish();
        return !arguments_.empty();
    }
    std::vector<std::string>& arguments() { return arguments_; }

private:
    bool take(std::string_view exec, size_t& i) {
        const char c = exec[i];
        if (c == '%') return i + 1 < exec.size() && fieldCode(exec[++i]);
        if (c == '"') {
            quoted_ = !quoted_, any_ = true;
        } else if (quoted_ && c == '\\' && i + 1 < exec.size() && isQuotable(exec[i + 1])) {
            current_ += exec[++i];
        } else if (!quoted_ && (c == ' ' || c == '\t')) {
            finish();
        } else {
            append(std::string(1, c));
        }
        return true;
    }

    static bool isQuotable(char c) { return std::string_view("\"`$\\").find(c) != std::string_view::npos; }
    void append(const std::string& text) { current_ += text, any_ = true; }

    bool fieldCode(char code) {
        if (std::string_view("fFuUdDnNvm").find(code) != std::string_view::npos) return true;
        if (code == '%') append("%");
        else if (code == 'c') append(fields_.name);
        else if (code == 'k') append(fields_.entryPath);
        else if (code != 'i') return false;
        else if (!fields_.icon.empty() && !any_ && !quoted_) arguments_.push_back("--icon"), append(fields_.icon);
        return true;
    }

    void finish() {
        if (any_) arguments_.push_back(current_);
        current_.clear(), any_ = false;
    }

    const ExecFields& fields_;
    std::vector<std::string> arguments_;
    std::string current_;
    bool quoted_ = false, any_ = false;
};

}  // namespace

std::string unescapedValue(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::optional<DesktopEntry> parseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    std::vector<std::string> seen;
    bool found = false, inGroup = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) continue;
        setField(entry, trimmed(line.substr(0, equals)), unescapedValue(trimmed(line.substr(equals + 1))), seen);
    }
    if (!found) return std::nullopt;
    return entry;
}

std::optional<std::vector<std::string>> execArguments(std::string_view exec, const ExecFields& fields) {
    ExecSplitter splitter(fields);
    if (!splitter.run(exec)) return std::nullopt;
    return std::move(splitter.arguments());
}

std::optional<std::vector<std::string>> launchArguments(std::string_view text, const std::string& entryPath) {
    const std::optional<DesktopEntry> entry = parseDesktopEntry(text);
    if (!entry || entry->type != "Application") return std::nullopt;
    auto arguments = execArguments(entry->exec, {entry->name, entry->icon, entryPath});
    if (arguments && entry->terminal) arguments->insert(arguments->begin(), {"x-terminal-emulator", "-e"});
    return arguments;
}

bool isDesktopEntryPath(const std::string& path) { return endsWith(toLowerAscii(path), ".desktop"); }

}  // namespace qm::posix
