#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "app/InstanceLock.h"

CInstanceLock::CInstanceLock(const char* path) {
    const int file = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) return;
    // flock, not fcntl: its lock belongs to the open file, so a second open conflicts even
    // within one process, and no close of another descriptor of the file lets it go.
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        state_ =
            errno == EWOULDBLOCK ? InstanceLockState::TakenByAnother : InstanceLockState::NotMade;
        close(file);
        return;
    }
    handle_ = file;
    state_ = InstanceLockState::Held;
}

CInstanceLock::~CInstanceLock() {
    // The file stays: removing it could let a third copy lock a new file while a second
    // still holds the old one.
    if (handle_ >= 0) close(static_cast<int>(handle_));
}
