// A system-wide named lock, held for the life of the process: the guard
// against a second copy of the program.
#pragma once

#include <string>

namespace plat {

// Takes the lock called `name`: an flock()ed file in $XDG_RUNTIME_DIR (else
// /tmp, prefixed with the user id) named after `name` with unsafe characters
// replaced, holding the owner's PID. Returns false when another process holds
// it; that process is then sent SIGUSR1, which asks it to bring its window to
// the front (the owner installs a handler for it when it takes the lock).
// When no lock file can be made at all, the guard is skipped (true).
bool AcquireNamedLock(const std::string& name);
void ReleaseNamedLock();

}  // namespace plat
