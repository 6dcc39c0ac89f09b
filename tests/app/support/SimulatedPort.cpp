#include "support/SimulatedPort.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <random>

CSimulatedPort::CSimulatedPort() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const std::string slave = ptsname(master_);
    // Two letters keep "/dev/ttyVEVO.." within the 14 characters config.ini keeps; tests of
    // other binaries may hold links of their own meanwhile, so a taken name is skipped.
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::string name =
            std::string("ttyVEVO") + char(letter(random)) + char(letter(random));
        if (symlink(slave.c_str(), ("/dev/" + name).c_str()) == 0) {
            name_ = name;
            return;
        }
    }
}

CSimulatedPort::~CSimulatedPort() {
    if (Available()) unlink(Path().c_str());
    if (master_ >= 0) close(master_);
}

bool CSimulatedPort::HeldOpen() const {
    // The master side hangs up while no one holds the slave side open.
    pollfd state{master_, 0, 0};
    return poll(&state, 1, 0) >= 0 && (state.revents & POLLHUP) == 0;
}

void CSimulatedPort::Unplug() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}
