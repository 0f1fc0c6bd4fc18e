// Finding the sound files of a folder for the pack builder: names of the
// regular files whose extension matches without regard to case.
#pragma once

#include <string>
#include <vector>

namespace plat {

// Names (not paths) of the files in `folder` (resolved like every other
// path) ending in `extension` (".WAV"), any letter case, sorted by name so
// that packs come out the same on every run. Empty when the folder is missing.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& extension);

}  // namespace plat
