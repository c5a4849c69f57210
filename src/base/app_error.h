#pragma once
// Classic runtime error numbers and texts. The error log keeps one entry per number,
// so every failure the program reports must carry the number its users know.
#include <exception>
#include <string>

namespace qm {

enum ErrorNumber : int {
    errInvalidCall = 5,
    errOverflow = 6,
    errOutOfMemory = 7,
    errSubscript = 9,
    errDivisionByZero = 11,
    errTypeMismatch = 13,
    errBadFileName = 52,
    errFileNotFound = 53,
    errBadFileMode = 54,
    errFileAlreadyOpen = 55,
    errDeviceIO = 57,
    errFileExists = 58,
    errDiskFull = 61,
    errInputPastEnd = 62,
    errDeviceUnavailable = 68,
    errPermissionDenied = 70,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errObjectNotSet = 91,
    errNoControlArrayElement = 340,
    errInvalidPropertyValue = 380,
    errCancelSelected = 32755,
};

// The standard description of a classic error number ("Application-defined or
// object-defined error" for numbers without one).
std::string errorDescription(int number);

struct AppError : std::exception {
    int number;
    std::string description;

    explicit AppError(int n);
    AppError(int n, std::string text);
    const char* what() const noexcept override { return description.c_str(); }
};

// Throws AppError(number) with its standard description.
[[noreturn]] void raiseError(int number);

}  // namespace qm
