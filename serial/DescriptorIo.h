#pragma once

#include <sys/types.h>

#include <cstdint>

#include "serial/Channel.h"
#include "serial/DataPackage.h"

// Byte reads and package writes on an open file descriptor, shared by the links that have one.

// Waits at most `waitMs` for one byte. End of file, an error or a hang-up is a lost link.
ChannelRead ReadByteWithin(int fd, std::uint8_t& byte, unsigned waitMs);

// Writes the whole package through `writeSome` (write, or a send that raises no SIGPIPE);
// false when the descriptor stopped taking bytes.
using WriteSome = ssize_t (*)(int fd, const void* bytes, std::size_t count);
bool WriteWhole(int fd, const CDataPackage& package, WriteSome writeSome);
