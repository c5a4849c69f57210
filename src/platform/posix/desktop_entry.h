#pragma once
// Application entries of the Linux desktops (.desktop files): the fields a launcher needs
// and the Exec line turned into the arguments the desktop would start.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::posix {

struct DesktopEntry {
    std::string type, name, exec, icon;
    bool terminal = false;
};

// The "Desktop Entry" group of an entry's text, its string escapes (\s \n \t \r \\)
// decoded; none when the text has no such group. Other groups and comments are skipped;
// of a key given twice the first counts.
std::optional<DesktopEntry> parseDesktopEntry(std::string_view text);

// A value of an entry's file with its string escapes (\s \n \t \r \\) decoded.
std::string unescapedValue(std::string_view value);

// What the field codes of an Exec line stand for.
struct ExecFields {
    std::string name;       // %c
    std::string icon;       // %i gives "--icon" and this, when there is one
    std::string entryPath;  // %k
};

// The arguments of a decoded Exec value: blank separated, double quotes group an argument
// (inside them \" \` \$ \\ stand for the character); "%%" is "%", the file and address codes
// (%f %F %u %U and the old %d %D %n %N %v %m) are dropped, since nothing is opened with
// the program. None for an unclosed quote, an unknown field code or no program at all.
std::optional<std::vector<std::string>> execArguments(std::string_view exec, const ExecFields& fields);

// How the desktop starts the entry at `entryPath` with this text: its Exec arguments, in a
// terminal when the entry asks for one. None when it is no application or its Exec is broken.
std::optional<std::vector<std::string>> launchArguments(std::string_view text, const std::string& entryPath);

// True for a path that names an application entry.
bool isDesktopEntryPath(const std::string& path);

}  // namespace qm::posix
