#pragma once
// The XDG autostart entry that stands for the Run key's "Quillmere" value on Linux.
#include <optional>
#include <string>
#include <vector>

namespace qm {

// The program and arguments of a Run value's data: a leading quoted path, then blank
// separated arguments; unquoted data is one path (the Run value's classic form).
std::vector<std::string> runValueArguments(const std::string& data);
// The Run value's data for those arguments: each quoted when it holds a blank.
std::string runValueData(const std::vector<std::string>& arguments);

// One Exec argument as the freedesktop Desktop Entry format wants it in the file: always in double
// quotes, '"' '`' '$' '\' escaped with a backslash, '%' doubled, then the string escapes
// of the file applied (so one backslash of the path is four in the file).
std::string desktopExecArgument(const std::string& argument);
// The arguments of an Exec line's value as the file holds it (the inverse of the above).
std::vector<std::string> desktopExecArguments(const std::string& fileValue);

// The whole entry for a Run value's data.
std::string autostartEntryText(const std::string& runData);
// The Run value's data that an entry of ours stands for; nothing when the text is not an
// entry we wrote (other programs' files are never taken for ours).
std::optional<std::string> runDataOfEntry(const std::string& text);

}  // namespace qm
