#pragma once

#include <cstdint>

struct CPackEntry;

// What an update tells the one who runs it, and how it is asked to stop. Everything is called
// on the update's own thread.
class CUpdateObserver {
public:
    virtual ~CUpdateObserver() = default;
    // The pack is read: the sum of the announced sizes.
    virtual void PackRead(std::uint64_t /*total*/) {}
    // Progress by `step` bytes.
    virtual void Advance(std::uint64_t /*step*/) {}
    virtual void EntryCurrent(const CPackEntry& /*entry*/) {}
    virtual void EntryFetched(const CPackEntry& /*entry*/) {}
    // Read before each entry and each chunk, and every tenth of a second while a call waits.
    virtual bool StopRequested() const { return false; }
};
