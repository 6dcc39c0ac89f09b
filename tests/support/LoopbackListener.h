#pragma once

#include <cstddef>
#include <cstdint>

// The tests' stand-ins for servers listen on 127.0.0.1 through this, over Berkeley sockets or
// Winsock, whichever the platform has; a connection is the platform's socket.
using TestConnection = std::intptr_t;
inline constexpr TestConnection kNoConnection = -1;

class CLoopbackListener {
public:
    // On a free port, with at most `backlog` connections waiting to be taken.
    explicit CLoopbackListener(int backlog = 16);
    ~CLoopbackListener();
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    unsigned short Port() const { return port_; }
    // A connection that came within `waitMs`, else kNoConnection.
    TestConnection Accept(unsigned waitMs);

private:
    TestConnection native_ = kNoConnection;
    unsigned short port_ = 0;
};

// A connection to 127.0.0.1:`port`, else kNoConnection.
TestConnection ConnectToLoopback(unsigned short port);
// Whether bytes, or the peer's close, are there within `waitMs`.
bool Readable(TestConnection connection, unsigned waitMs);
// One receive or send: the count of bytes, 0 at the peer's close, negative on an error.
long ReceiveSome(TestConnection connection, char* into, std::size_t size);
long SendSome(TestConnection connection, const char* bytes, std::size_t size);
void CloseConnection(TestConnection connection);
