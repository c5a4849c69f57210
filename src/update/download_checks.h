#pragma once
// The checks a response or a download passes before the update code believes it: header
// text, version text, program format and length. Bytes in, result out.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/program_update.h"

namespace qm {

// The size a header text announces: 0 when it holds "404" anywhere or no Content-Length;
// the last Content-Length counts (redirects put earlier blocks before it). Error 5 when the
// field has no line end after it, 6 when the number does not fit 32 bits.
int32_t announcedSize(const std::string& headers);

// The number of the site's version file: none unless it begins with a digit (blanks
// before it allowed); error 6 when the number does not fit 16 bits.
std::optional<int16_t> publishedVersion(const std::string& text);

// The kind of program the bytes are, by their header (PE machine field, ELF class and machine).
ProgramKind programKindOf(const std::string& bytes);

// A download is taken only when it is longer than 1000 bytes and exactly the announced size.
bool lengthAccepted(const std::string& bytes, int32_t announced);

// An ECDSA signature as DER (what signing tools write) to r and s, 32 bytes each;
// nothing when it is no well-formed P-256 signature.
std::optional<std::string> signatureFromDer(const std::string& der);

// Where this kind of program is found on the website, and the name it is downloaded as.
std::string remoteProgramPath(ProgramKind kind);
std::string downloadFileName(ProgramKind kind);

}  // namespace qm
