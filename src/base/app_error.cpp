#include "base/app_error.h"

#include <utility>

namespace qm {

namespace {

struct ErrorText {
    int number;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {3, "Return without GoSub"},
    {5, "Invalid procedure call or argument"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript out of range"},
    {10, "This array is fixed or temporarily locked"},
    {11, "Division by zero"},
    {13, "Type mismatch"},
    {14, "Out of string space"},
    {28, "Out of stack space"},
    {35, "Sub or Function not defined"},
    {48, "Error in loading DLL"},
    {51, "Internal error"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File already open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {59, "Bad record length"},
    {61, "Disk full"},
    {62, "Input past end of file"},
    {63, "Bad record number"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {74, "Can't rename with different drive"},
    {75, "Path/File access error"},
    {76, "Path not found"},
    {91, "Object variable or With block variable not set"},
    {94, "Invalid use of Null"},
    {340, "Control array element doesn't exist"},
    {360, "Object already loaded"},
    {362, "Can't load or unload this object"},
    {380, "Invalid property value"},
    {381, "Invalid property array index"},
    {424, "Object required"},
    {481, "Invalid picture"},
    {32755, "Cancel was selected."},
};

}  // namespace

std::string errorDescription(int number) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.number == number) return entry.text;
    }
    return "Application-defined or object-defined error";
}

AppError::AppError(int n) : number(n), description(errorDescription(n)) {}

AppError::AppError(int n, std::string text) : number(n), description(std::move(text)) {}

void raiseError(int number) { throw AppError(number); }

}  // namespace qm
