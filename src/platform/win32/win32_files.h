#pragma once
// Files of the program folder through the Win32 file functions, with the classic error
// numbers: 53 not found, 76 path not found, 75 access (denied, shared, locked), 70 write
// protected, 61 disk full, 52 bad name.
#include "platform/files.h"

namespace qm {

// The classic file error number for a Win32 error code.
int win32FileErrorNumber(unsigned long code);

class Win32Files : public FilesPort {
public:
    bool fileExists(const std::string& path) override;
    std::string readAll(const std::string& path, uint64_t maxBytes) override;
    void writeAll(const std::string& path, const std::string& bytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void remove(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;
    void removeStaleTemporaries(const std::string& folder) override;
};

}  // namespace qm
