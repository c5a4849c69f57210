#pragma once
// What an upgrade needs of the machine: which kind of program runs here, where its file
// lies, writing a downloaded program, replacing the program file without ever losing it,
// and checking a download's signature against the keys built into the program.
#include <string>

namespace qm {

// The executable formats a download is checked against.
enum class ProgramKind { Unknown, PeI386, PeAmd64, ElfX8664 };

enum class ReplaceResult { Replaced, InUse, Failed };

class ProgramUpdatePort {
public:
    virtual ~ProgramUpdatePort() = default;
    // The kind of program this build is.
    virtual ProgramKind ownKind() = 0;
    // The program file an upgrade replaces.
    virtual std::string programPath() = 0;
    // True when this process runs from that file (and not from the download).
    virtual bool runsProgramFile() = 0;
    // False when the user cannot replace the program file (its folder is not writable).
    virtual bool canReplaceProgram() = 0;
    // Writes a downloaded program (runnable) through a temporary file and a rename; error 75 on failure.
    virtual void saveProgram(const std::string& path, const std::string& bytes) = 0;
    // Copies `source` to a temporary file beside `target`, checks the copy and renames it over
    // `target` in one step. InUse while the old file is still held by a running process.
    virtual ReplaceResult replaceProgram(const std::string& source, const std::string& target) = 0;
    // True when `signature` (r and s, 32 bytes each) is a valid ECDSA P-256 signature of the
    // SHA-256 digest of `data` by the key built into the program.
    virtual bool signatureValid(const std::string& data, const std::string& signature) = 0;
};

}  // namespace qm
