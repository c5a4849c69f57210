#pragma once
// Files of the program folder. Operations raise the classic file error numbers
// (53 not found, 75 path/file access, 76 path not found, 70 permission denied, 61 disk full).
#include <cstdint>
#include <string>

namespace qm {

class FilesPort {
public:
    virtual ~FilesPort() = default;
    // True when an ordinary file exists at the path.
    virtual bool fileExists(const std::string& path) = 0;
    // The whole file as bytes. Error 75 when the path names no ordinary file (a folder, a
    // device), error 7 when the file is longer than maxBytes: nothing past that is read, so a
    // huge file or one that never ends cannot take the program's memory or time.
    virtual std::string readAll(const std::string& path, uint64_t maxBytes) = 0;
    // Creates or replaces the file with the bytes.
    virtual void writeAll(const std::string& path, const std::string& bytes) = 0;
    // Appends the bytes, creating the file when missing; error 75 when the path names
    // something other than an ordinary file.
    virtual void append(const std::string& path, const std::string& bytes) = 0;
    // Deletes the file (Kill); error 53 when missing.
    virtual void remove(const std::string& path) = 0;
    // The file's length in bytes; error 53 when missing.
    virtual uint64_t fileLength(const std::string& path) = 0;
    // Deletes the temporaries that writers killed mid-write left in the folder (the program
    // start calls it for the program folder). Fakes that write no temporaries keep this default.
    virtual void removeStaleTemporaries(const std::string& /*folder*/) {}
};

}  // namespace qm
