#pragma once
// The lock that marks the one running copy of the program for a user: a file in the
// user's runtime folder held with flock for the life of the process (the kernel drops it
// when the process ends, however it ends, so no stale lock survives a crash).
#include <string>

namespace qm {

// $XDG_RUNTIME_DIR when it is an absolute folder, else /tmp/quillmere-<uid> (created 0700
// and refused when someone else owns it).
std::string userRuntimeFolder();

class InstanceLock {
public:
    explicit InstanceLock(std::string folder = userRuntimeFolder());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock; false when another process holds it. Kept once taken.
    bool acquire();
    // Tries to take the lock until `ms` have passed; false when it stayed taken.
    bool acquireWithin(int ms);
    bool held() const { return fd_ >= 0; }
    // Another process holds the lock; looked at without taking it or making its file.
    bool heldElsewhere() const;
    const std::string& folder() const { return folder_; }
    std::string lockPath() const { return folder_ + "/quillmere.lock"; }
    std::string socketPath() const { return folder_ + "/quillmere.socket"; }

private:
    std::string folder_;
    int fd_ = -1;
};

}  // namespace qm
