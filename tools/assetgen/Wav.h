// 16-bit PCM WAV files with the plain 44-byte header, and reading them back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Pcm16 {
    int sampleRate = 22050;
    int channels = 1;
    std::vector<int16_t> samples;  // interleaved
};

// Converts -1..1 floats to 16-bit samples, rounding and clipping.
std::vector<int16_t> ToPcm16(const std::vector<float>& samples);

std::vector<uint8_t> EncodeWav(const Pcm16& pcm);
// Reads a RIFF/WAVE file of 16-bit PCM ("fmt " and "data" chunks in any
// order). Returns false for anything else or a truncated file.
bool DecodeWav(const std::vector<uint8_t>& bytes, Pcm16* pcm);

}  // namespace assetgen
