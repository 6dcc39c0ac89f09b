#pragma once

#include <sys/types.h>

#include <cstdint>

#include "serial/Channel.h"
#include "serial/DataPackage.h"

// Byte reads and package writes on an open file descriptor, shared by the links that have one.

// The flag behind CChannel::Interrupt: an eventfd that stays readable while raised, so a poll
// on it beside the link's descriptor wakes at once, whenever it was raised.
class CWakeFlag {
public:
    CWakeFlag();
    ~CWakeFlag();
    CWakeFlag(const CWakeFlag&) = delete;
    CWakeFlag& operator=(const CWakeFlag&) = delete;

    void Raise();
    void Lower();
    // -1 when no eventfd could be made: waits then cannot be woken, and poll skips it.
    int Fd() const { return fd_; }

private:
    int fd_;
};

// Waits at most `waitMs` for one byte, or until `wake` is raised. End of file, an error or a
// hang-up is a lost link.
ChannelRead ReadByteWithin(int fd, const CWakeFlag& wake, std::uint8_t& byte, unsigned waitMs);

// Writes the whole package through `writeSome` (write, or a send that raises no SIGPIPE);
// false when the descriptor stopped taking bytes.
using WriteSome = ssize_t (*)(int fd, const void* bytes, std::size_t count);
bool WriteWhole(int fd, const CDataPackage& package, WriteSome writeSome);
