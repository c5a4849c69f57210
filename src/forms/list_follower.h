#pragma once
// Keeps a view of a list's entries in step with the list, one notice at a time. A view that
// saw every change so far applies just the latest one; a view that looks for the first time,
// or missed a change (a list changed again while its notice was still on its way), reloads.
#include <cstdint>
#include <optional>

#include "forms/control.h"

namespace qm {

// What a view does to its own copy of the entries; the list already holds the new state.
class EntrySink {
public:
    virtual ~EntrySink() = default;
    virtual void entryAdded(int index) = 0;
    virtual void entryRemoved(int index) = 0;
    virtual void entriesCleared() = 0;
    virtual void entryReplaced(int index) = 0;
    virtual void entriesReloaded() = 0;
};

class ListFollower {
public:
    // Brings `sink` up to the list's current entries; called on every Prop::Items.
    void catchUp(const ListControl& list, EntrySink& sink);
    // Forgets what was seen: the next catchUp reloads.
    void reset() { seen_.reset(); }

private:
    std::optional<uint64_t> seen_;
};

}  // namespace qm
