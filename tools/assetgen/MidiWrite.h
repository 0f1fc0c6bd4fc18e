// A score as a standard MIDI file (format 1, 48 ticks per quarter): a tempo
// track, then one track per voice of the score with General MIDI programs
// chosen from the instruments' waves, the noise and swept-sine instruments
// on the percussion channel. Every track ends at the score's length, so a
// looping score loops on the bar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Mml.h"

namespace assetgen {

// The General MIDI program (0..127) of a tonal instrument, or -1 with the
// percussion key in *drumKey for a drum.
int GeneralMidiProgram(const std::string& name, const Instrument& instrument, int* drumKey);

std::vector<uint8_t> EncodeMidi(const Score& score, const std::string& title);

}  // namespace assetgen
