// A system-wide named lock, held for the life of the process: the guard
// against a second copy of the program.
#pragma once

#include <string>

namespace plat {

// Takes the lock called `name` (a lock file in the user's runtime folder).
// Returns false when another process holds it.
bool AcquireNamedLock(const std::string& name);
void ReleaseNamedLock();

}  // namespace plat
