#include "forms/list_follower.h"

namespace qm {

namespace {

void apply(const ListChange& change, EntrySink& sink) {
    switch (change.kind) {
        case ListChange::Kind::Added: sink.entryAdded(change.index); break;
        case ListChange::Kind::Removed: sink.entryRemoved(change.index); break;
        case ListChange::Kind::Cleared: sink.entriesCleared(); break;
        case ListChange::Kind::Replaced: sink.entryReplaced(change.index); break;
    }
}

}  // namespace

void ListFollower::catchUp(const ListControl& list, EntrySink& sink) {
    const uint64_t now = list.revision();
    if (seen_ && *seen_ == now) return;
    if (seen_ && *seen_ + 1 == now) apply(list.lastChange(), sink);
    else sink.entriesReloaded();
    seen_ = now;
}

}  // namespace qm
