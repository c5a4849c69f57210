#include "platform/win32/win32_files.h"

#include <windows.h>

#include "base/app_error.h"

namespace qm {

namespace {

[[noreturn]] void raiseLastError() { raiseError(win32FileErrorNumber(GetLastError())); }

// Closes the handle whichever way the scope is left.
struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

HANDLE openOrRaise(const std::string& path, DWORD access, DWORD disposition) {
    HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) raiseLastError();
    return h;
}

void writeBytes(HANDLE h, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr)) raiseLastError();
        done += written;
    }
}

}  // namespace

int win32FileErrorNumber(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND: return errFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH: return errPathNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return errPathFileAccess;
        case ERROR_WRITE_PROTECT: return errPermissionDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return errDiskFull;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE: return errBadFileName;
        default: return errPathFileAccess;
    }
}

bool Win32Files::fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Files::readAll(const std::string& path) {
    FileHandle file{openOrRaise(path, GENERIC_READ, OPEN_EXISTING)};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void Win32Files::writeAll(const std::string& path, const std::string& bytes) {
    FileHandle file{openOrRaise(path, GENERIC_WRITE, CREATE_ALWAYS)};
    writeBytes(file.h, bytes);
}

void Win32Files::append(const std::string& path, const std::string& bytes) {
    FileHandle file{openOrRaise(path, FILE_APPEND_DATA, OPEN_ALWAYS)};
    SetFilePointer(file.h, 0, nullptr, FILE_END);
    writeBytes(file.h, bytes);
}

void Win32Files::remove(const std::string& path) {
    if (!DeleteFileA(path.c_str())) raiseLastError();
}

uint64_t Win32Files::fileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) raiseLastError();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) raiseError(errFileNotFound);
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace qm
