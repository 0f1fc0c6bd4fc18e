// The software mixer: a pure function that adds playing PCM voices into a
// stereo accumulator (resampled with linear interpolation, gains applied,
// gain changes ramped), and the one saturating step that turns the sum into
// 16-bit samples. No device, no locking: the sound device calls it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::mixer {

enum class Layout : uint8_t { U8Mono, U8Stereo, S16Mono, S16Stereo };

// Positions are 32.32 fixed point in source frames, so a voice that plays at
// the output rate advances by exactly one frame and reproduces its samples.
constexpr int kFracBits = 32;
constexpr uint64_t kOne = uint64_t{1} << kFracBits;

// Output frames over which a gain change is spread, so that volume and pan
// changes of a playing voice do not click.
constexpr uint32_t kGainRampFrames = 64;

struct Voice {
    const void* data = nullptr;  // int16_t samples for S16 layouts, uint8_t for U8
    uint32_t frames = 0;         // whole frames in data
    Layout layout = Layout::S16Stereo;
    uint64_t position = 0;       // 32.32 source frame position
    uint64_t step = kOne;        // source frames per output frame (32.32)
    float gainL = 1.0f;          // gains now applied
    float gainR = 1.0f;
    float targetL = 1.0f;        // gains being ramped to
    float targetR = 1.0f;
    uint32_t rampLeft = 0;       // output frames left in the ramp
    bool playing = false;
    bool looping = false;
};

// Adds `frames` output frames of every playing voice to `accum` (interleaved
// left/right, in 16-bit sample units). A voice that runs off its end stops
// and rewinds to frame 0; a looping one wraps around.
void Mix(float* accum, Voice* const* voices, size_t count, uint32_t frames);

// Rounds and clamps the accumulator into 16-bit samples: loud sums saturate
// instead of wrapping around.
void Saturate(const float* accum, int16_t* out, size_t samples);

// Amplitude factor of an attenuation in hundredths of a decibel; -10000 and
// below are silence.
float GainFromMillibels(long millibels);

// Left and right gains of a voice at `volume` (hundredths of a dB, <= 0) and
// `pan` (-10000 left only .. 10000 right only; the far channel is attenuated
// by |pan| hundredths of a dB).
void VoiceGains(long volume, long pan, float* left, float* right);

// Step of a voice playing at `frequency` Hz into an output of `outputRate` Hz.
uint64_t StepFor(uint32_t frequency, uint32_t outputRate);

// Sets new target gains; the change is ramped when the voice is audible now.
void SetTargetGains(Voice& voice, float left, float right);

}  // namespace plat::mixer
