// A small synthesizer for the scores: band-limited square and saw waves,
// triangle, sine and noise voices with envelopes, vibrato and pitch sweeps,
// per-track echo, and a mix normalised to the score's peak level.
#pragma once

#include <vector>

#include "Mml.h"

namespace assetgen {

// Renders a score to mono samples in -1..1. A looping score comes out
// exactly one loop long with every tail (release, echo, filter) wrapped
// around to the start, so the last sample runs on into the first. Other
// scores end when their last sound has died away.
std::vector<float> RenderScore(const Score& score, int sampleRate);

// Seconds at which tick `tick` falls.
double TickSeconds(const Score& score, int tick);

}  // namespace assetgen
