#pragma once

#include <string>

// A listening TCP socket on 127.0.0.1, non-blocking. `port` 0 takes any free port; `bound` is
// the one taken. -1 with `error` set when that fails.
int ListenOnLoopback(unsigned port, unsigned& bound, std::string& error);

// The next waiting connection, non-blocking and without delay on small writes; -1 when none.
int AcceptConnection(int listener);
