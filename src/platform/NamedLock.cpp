// The single-instance lock: an flock()ed file named after the lock in the
// user's runtime folder, holding the owner's PID. A second copy that finds it
// held sends the owner SIGUSR1, which asks the owner's window to come to the
// front; the signal handler only raises a flag that the backend polls.
#include "platform/NamedLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Backend.h"

namespace plat {

namespace {

int gFd = -1;
pid_t gOwner = 0;
std::atomic<bool> gRaiseRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

void OnRaiseSignal(int) { gRaiseRequested.store(true); }

void InstallRaiseHandler() {
    struct sigaction action = {};
    action.sa_handler = OnRaiseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

// Letters, digits, '-', '_' and multibyte UTF-8 stay; anything that could
// leave the folder or confuse a shell becomes '_'.
std::string FileNameFor(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
                    c == '_' || c >= 0x80;
        out += keep ? static_cast<char>(c) : '_';
        if (out.size() >= 200) break;
    }
    if (out.empty()) out = "_";
    return out + ".lock";
}

std::string LockPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && access(runtime, W_OK | X_OK) == 0)
        return std::string(runtime) + "/" + FileNameFor(name);
    // /tmp is shared by every user: the user id keeps the names apart.
    return "/tmp/" + std::to_string(getuid()) + "-" + FileNameFor(name);
}

pid_t ReadOwner(int fd) {
    char text[32] = {};
    ssize_t n = pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return 0;
    long pid = std::strtol(text, nullptr, 10);
    return pid > 0 ? static_cast<pid_t>(pid) : 0;
}

void WriteOwner(int fd) {
    std::string text = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) == 0 && pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size())) {
        return;
    }
    // Without the PID a second copy only cannot bring us forward; the lock
    // itself still holds.
}

}  // namespace

bool AcquireNamedLock(const std::string& name) {
    if (gFd >= 0) {
        if (gOwner == getpid()) ReleaseNamedLock();
        else {
            // Inherited through fork: the lock belongs to the parent.
            close(gFd);
            gFd = -1;
        }
    }
    InstallRaiseHandler();
    std::string path = LockPath(name);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // No lock file can be made (read-only or foreign folder): the guard
        // cannot work, and refusing to start would be worse than a second copy.
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        if (held) {
            pid_t owner = ReadOwner(fd);
            if (owner > 0 && owner != getpid()) kill(owner, SIGUSR1);
        }
        close(fd);
        return !held;
    }
    WriteOwner(fd);
    gFd = fd;
    gOwner = getpid();
    return true;
}

void ReleaseNamedLock() {
    if (gFd < 0) return;
    if (gOwner == getpid()) {
        // The file stays: removing it would let two later copies lock two
        // different files of the same name.
        if (ftruncate(gFd, 0) != 0) {
        }
    }
    close(gFd);
    gFd = -1;
    gOwner = 0;
}

namespace detail {

bool TakeRaiseRequest() { return gRaiseRequested.exchange(false); }

}  // namespace detail

}  // namespace plat
