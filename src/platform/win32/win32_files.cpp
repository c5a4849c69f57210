#include "platform/win32/win32_files.h"

#include <windows.h>

#include <atomic>

#include "base/app_error.h"
#include "platform/temporary_name.h"

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

// A device (a console, a pipe, or what Wine maps a Unix device to) is no file of ours.
void diskFileOrRaise(HANDLE h) {
    if (GetFileType(h) != FILE_TYPE_DISK) raiseError(errPathFileAccess);
}

// Windows refuses to change a read-only file; Wine (run as root) would not, so it is asked first.
void refuseReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        raiseError(win32FileErrorNumber(ERROR_ACCESS_DENIED));
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

std::string temporaryBeside(const std::string& path) {
    static std::atomic<unsigned long long> serial{0};
    const size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return folder + temporaryNameFor(path.substr(slash + 1), GetCurrentProcessId(), serial++);
}

// Our own process counts as running: another of its threads may be writing right now.
bool isRunning(unsigned long processId) {
    if (processId == GetCurrentProcessId()) return true;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
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

std::string Win32Files::readAll(const std::string& path, uint64_t maxBytes) {
    FileHandle file{openOrRaise(path, GENERIC_READ, OPEN_EXISTING)};
    LARGE_INTEGER size{};
    diskFileOrRaise(file.h);
    if (!GetFileSizeEx(file.h, &size)) raiseLastError();
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) raiseError(errOutOfMemory);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.h, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) raiseError(errOutOfMemory);  // grew past its length meanwhile
    }
    return bytes;
}

// Replaced whole: the bytes go to a temporary beside the file, are flushed, and the
// temporary is moved over the file, so a full disk leaves the old file, not a cut one.
void Win32Files::writeAll(const std::string& path, const std::string& bytes) {
    refuseReadOnly(path);
    const std::string temporary = temporaryBeside(path);
    try {
        FileHandle file{openOrRaise(temporary, GENERIC_WRITE, CREATE_NEW)};
        writeBytes(file.h, bytes);
        if (!FlushFileBuffers(file.h)) raiseLastError();
    } catch (const AppError&) {
        DeleteFileA(temporary.c_str());
        throw;
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    raiseError(win32FileErrorNumber(error));
}

void Win32Files::removeStaleTemporaries(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\.*.qmtmp-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const auto writer = temporaryWriter(found.cFileName);
        if (writer && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isRunning(*writer))
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void Win32Files::append(const std::string& path, const std::string& bytes) {
    refuseReadOnly(path);
    FileHandle file{openOrRaise(path, FILE_APPEND_DATA, OPEN_ALWAYS)};
    diskFileOrRaise(file.h);
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
