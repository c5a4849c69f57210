#pragma once
// The program's error convention: a procedure runs its statements one by one; a failing
// statement is reported once to the error log and the procedure goes on with the next.
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "base/app_error.h"

namespace qm {

// Where trapped errors go (the error log in the program, a recorder in tests).
class ErrorSink {
public:
    virtual ~ErrorSink() = default;
    virtual void logError(const std::string& context, int number, const std::string& description) = 0;
};

// Turns whatever a statement threw into the classic number and text.
AppError toAppError(std::exception_ptr failure);

// Runs statements under one context text; each failure is logged and swallowed.
class Trap {
public:
    Trap(ErrorSink& sink, std::string context) : sink_(sink), owned_(std::move(context)) {}
    // Texts that outlive the trap (a literal; a form's name and a literal label): the
    // context is only put together when an error is logged, not for every procedure run.
    Trap(ErrorSink& sink, const char* context) : sink_(sink), owner_(context) {}
    Trap(ErrorSink& sink, const std::string& owner, std::string_view label)
        : sink_(sink), owner_(owner), label_(label) {}

    // Runs one statement; true when it completed.
    template <class Statement>
    bool operator()(Statement&& statement) {
        try {
            statement();
            return true;
        } catch (...) {
            report(std::current_exception());
            return false;
        }
    }

    // Runs one statement whose error `ignored` ends it silently (other errors are logged).
    template <class Statement>
    bool except(int ignored, Statement&& statement) {
        try {
            statement();
            return true;
        } catch (const AppError& e) {
            if (e.number != ignored) sink_.logError(context(), e.number, e.description);
            return false;
        } catch (...) {
            report(std::current_exception());
            return false;
        }
    }

    std::string context() const { return owned_.empty() ? std::string(owner_).append(label_) : owned_; }

private:
    void report(std::exception_ptr failure);

    ErrorSink& sink_;
    std::string owned_;
    std::string_view owner_, label_;
};

// Runs a statement whose errors are ignored without logging; true when it completed.
template <class Statement>
bool ignoreErrors(Statement&& statement) {
    try {
        statement();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace qm
