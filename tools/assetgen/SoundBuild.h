// Rendering every score under resources/ to the WAV files the game plays,
// one score to a MIDI file, and the report of their lengths and levels.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

int BuildSounds(const std::string& resources, const std::string& outDir);
// One score as a standard MIDI file, for the music player.
int BuildMidi(const std::string& scoreFile, const std::string& out);
int WriteSoundReport(const std::string& out, const std::vector<std::string>& files);

}  // namespace assetgen
