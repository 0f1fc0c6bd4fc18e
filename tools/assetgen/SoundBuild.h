// Rendering every score under resources/ to the WAV files the game plays,
// and the report of their lengths and levels.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

int BuildSounds(const std::string& resources, const std::string& outDir);
int WriteSoundReport(const std::string& out, const std::vector<std::string>& files);

}  // namespace assetgen
