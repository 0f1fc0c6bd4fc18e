// The sound device: independent PCM buffers (8/16-bit, mono/stereo, any
// rate) that play once or looping from a byte position, with frequency,
// volume and pan, all mixed by our own mixer into one output. The SDL backend
// feeds an SDL audio device from its audio thread; the headless backend has
// no device and renders exactly the samples that virtual time has advanced.
// Every function may be called from the main thread at any time.
#pragma once

#include <cstdint>

#include "platform/Types.h"

namespace plat {

// A PCM format as WAV files describe it.
struct PcmFormat {
    uint16_t formatTag = 1;         // 1 = PCM; nothing else can be played
    uint16_t channels = 2;
    uint32_t samplesPerSec = 44100;
    uint32_t avgBytesPerSec = 176400;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;
};

struct AudioDevice;
class SoundBuffer;

constexpr Result kErrBadFormat = 0x88780032;   // a format the mixer cannot play
constexpr Result kErrNoDevice = 0x88780078;
constexpr Result kErrLocked = 0x8878000A;

// Frequencies a buffer can be set to.
constexpr uint32_t kMinFrequency = 100;
constexpr uint32_t kMaxFrequency = 200000;

// Opens the sound device (one at a time). SDL: the default output, 44100 Hz
// 16-bit stereo; when it cannot be opened the result is nullptr (run silent),
// unless an audio capture was asked for, in which case SDL's timer-driven
// dummy output takes its place so that the capture is still written.
// Headless: always a virtual device driven by the clock.
AudioDevice* OpenAudioDevice();
// True once the --audio-capture file was asked for and could not be made.
bool AudioCaptureFailed();
// Releases the device and any buffer still created on it; the MIDI
// sequencer stops and frees its synthesizer first.
void CloseAudioDevice(AudioDevice* device);
// Whether a device is open, i.e. the mixer's output is rendered at all.
bool AudioOutputAvailable();

// The output format (the primary buffer's). Setting it reopens the output at
// the new rate; 8-bit and mono outputs are rendered as such.
Result SetOutputFormat(AudioDevice* device, const PcmFormat& format);
PcmFormat GetOutputFormat();

// A secondary buffer of `bytes` bytes in `format`, silent, stopped at 0, at
// the format's own rate, volume 0 and pan 0. nullptr (and *error) when the
// format is not 8/16-bit PCM with 1 or 2 channels at 100..200000 Hz, or the
// size is below one frame or above 256 MB.
SoundBuffer* CreateSoundBuffer(AudioDevice* device, const PcmFormat& format, uint32_t bytes,
                               Result* error = nullptr);
void ReleaseSoundBuffer(SoundBuffer* buffer);

// Write access to `bytes` bytes from `offset`: one region, or two when the
// range wraps past the end (the second starts at offset 0). The regions hold
// the current contents; Unlock stores what was written. One lock at a time.
Result LockSoundBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1,
                       void** part2, uint32_t* size2);
Result UnlockSoundBuffer(SoundBuffer* buffer);

// Starts from the current position, once or looping; a one-shot buffer that
// reaches its end stops and rewinds to 0. Stop halts without rewinding.
void PlaySoundBuffer(SoundBuffer* buffer, bool looping);
void StopSoundBuffer(SoundBuffer* buffer);
bool SoundBufferPlaying(const SoundBuffer* buffer);
// Play position in bytes (whole frames).
void SetSoundPosition(SoundBuffer* buffer, uint32_t bytes);
uint32_t GetSoundPosition(const SoundBuffer* buffer);
uint32_t GetSoundSize(const SoundBuffer* buffer);
PcmFormat GetSoundFormat(const SoundBuffer* buffer);
// Hz, clamped to kMinFrequency..kMaxFrequency.
void SetSoundFrequency(SoundBuffer* buffer, uint32_t hz);
uint32_t GetSoundFrequency(const SoundBuffer* buffer);
// Hundredths of a decibel: -10000 (silent) .. 0 (full).
void SetSoundVolume(SoundBuffer* buffer, long volume);
// -10000 (left only) .. 10000 (right only); the far channel is attenuated by
// that many hundredths of a decibel.
void SetSoundPan(SoundBuffer* buffer, long pan);

// Headless only: renders `frames` output frames now (the clock does this by
// itself as it advances). When `out` is given it receives them as 16-bit
// stereo.
void AdvanceAudio(uint32_t frames, int16_t* out = nullptr);

// An extra source mixed into the output (the MIDI synthesizer): called on the
// mixing thread with the device locked; adds `frames` stereo frames in 16-bit
// sample units into `accum`. nullptr removes it.
using AudioSource = void (*)(float* accum, uint32_t frames, uint32_t rate, void* user);
void SetAudioSource(AudioSource source, void* user);

}  // namespace plat
