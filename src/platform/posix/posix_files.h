#pragma once
// Files of the program folder on Linux, failing with the classic file error numbers.
#include "platform/files.h"

namespace qm {

// The classic number for an errno of a failed file call (53, 76, 70, 61, 52, else 75).
int fileErrorNumber(int errnoValue);

class PosixFiles : public FilesPort {
public:
    bool fileExists(const std::string& path) override;
    std::string readAll(const std::string& path, uint64_t maxBytes) override;
    void writeAll(const std::string& path, const std::string& bytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void remove(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;
    void removeStaleTemporaries(const std::string& folder) override;

    // Writes all bytes to an open descriptor, raising the classic number on failure.
    static void writeTo(int fd, const std::string& bytes);
};

}  // namespace qm
