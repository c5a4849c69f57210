#pragma once
#include <cstddef>
#include <string>

namespace qm {

// The profile ("INI") file as pure text, with the observable behaviour of the Windows
// profile functions (NT family). The settings code never parses the file any other way.
// fileText is the file's bytes: ANSI text, or UTF-16 LE after its byte order mark, which a
// write keeps (platform/profile_encoding.h).

// What GetPrivateProfileStringA places in a buffer of bufferSize chars (without the NUL):
// the first matching key of the first matching section (names compared without regard to
// ASCII case, blanks around names and values ignored, one pair of matching quotes removed),
// or the default without its trailing blanks; either is cut to bufferSize - 1 chars.
std::string profileGetString(const std::string& fileText, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize);

// The file text as WritePrivateProfileStringA leaves it after writing key=value: an existing
// key's line is replaced in place, a new key goes after the last line of its section, a new
// section at the end of the file; every other byte is kept. New lines end with CR LF.
std::string profileWriteString(const std::string& fileText, const std::string& section,
                               const std::string& key, const std::string& value);

}  // namespace qm
