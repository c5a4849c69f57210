#pragma once
// A stream socket in the file system through which a later start asks the running copy
// to show itself: one request line, one reply line. Plain system calls, so that the
// program needs no network library for it.
#include <string>

namespace qm::posix {

// Listens, non-blocking, on `path` for its owner alone; a file left there by a copy that
// crashed is replaced (the caller holds the instance lock). -1 when it cannot.
int listenLocal(const std::string& path);
// The next waiting connection, non-blocking; -1 when none waits.
int acceptLocal(int listener);
// Adds what has arrived on a non-blocking connection to `line`, up to its newline:
// Complete once the newline (or more than a short line) is in, Closed on an end or error.
enum class LineState { Partial, Complete, Closed };
LineState readLine(int connection, std::string& line);
// True when the process at the other end runs as this process's user.
bool peerIsSameUser(int connection);
// Writes the whole text; false when the other end has gone.
bool writeAll(int connection, const std::string& text);
// Connects to `path`, sends `request` and returns the line that comes back within
// `waitMs`, newline included; empty when nobody listens or answers in time.
std::string askLocal(const std::string& path, const std::string& request, int waitMs);

}  // namespace qm::posix
