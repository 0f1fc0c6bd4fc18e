// The sound device: buffers and their controls, the one lock that keeps
// them consistent with the mixing thread, the output stage (format, capture,
// extra source) and the two backends: an SDL audio device pulling samples
// from its own thread, or the virtual clock pushing them (headless).
#include "platform/AudioDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/AudioCapture.h"
#include "platform/AudioMixer.h"
#include "platform/Clock.h"
#include "platform/MidiSequencer.h"
#include "platform/Options.h"

namespace plat {

class SoundBuffer {
public:
    AudioDevice* device = nullptr;
    PcmFormat format;
    uint32_t bytes = 0;
    uint32_t frameBytes = 1;
    std::unique_ptr<int16_t[]> storage;  // 16-bit units so that the mixer reads int16_t objects
    mixer::Voice voice;
    uint32_t frequency = 0;
    long volume = 0;
    long pan = 0;
    // The lock hands out a copy; Unlock writes it back under the device lock,
    // so the mixing thread never sees a half-written region.
    std::vector<uint8_t> lockCopy;
    uint32_t lockOffset = 0;
    uint32_t lockSize1 = 0;
    uint32_t lockSize2 = 0;
    bool locked = false;

    uint8_t* bytePointer() { return reinterpret_cast<uint8_t*>(storage.get()); }
};

struct AudioDevice {
    bool headless = false;
    SDL_AudioDeviceID sdl = 0;
    bool sdlDummy = false;          // SDL's dummy driver stands in for a missing device
    std::vector<SoundBuffer*> buffers;
    std::vector<mixer::Voice*> voices;
    uint64_t clockBase = 0;         // headless: virtual time at which frame 0 was due
    uint64_t clockFrames = 0;       // headless: frames rendered for the clock since clockBase
};

namespace {

constexpr uint32_t kMaxBufferBytes = 256u << 20;
constexpr uint32_t kChunkFrames = 4096;

std::mutex gLock;
AudioDevice* gDevice = nullptr;
PcmFormat gOutput;
AudioSource gSource = nullptr;
void* gSourceUser = nullptr;
detail::WavCapture gCapture;
bool gCaptureTried = false;
bool gCaptureFailed = false;
std::vector<float> gAccum;
std::vector<int16_t> gPcm;

PcmFormat DefaultOutput() { return PcmFormat{}; }

bool Playable(const PcmFormat& f) {
    return f.formatTag == 1 && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSec >= kMinFrequency &&
           f.samplesPerSec <= kMaxFrequency;
}

mixer::Layout LayoutOf(const PcmFormat& f) {
    if (f.bitsPerSample == 8) return f.channels == 2 ? mixer::Layout::U8Stereo : mixer::Layout::U8Mono;
    return f.channels == 2 ? mixer::Layout::S16Stereo : mixer::Layout::S16Mono;
}

void UpdateGains(SoundBuffer& b) {
    float l, r;
    mixer::VoiceGains(b.volume, b.pan, &l, &r);
    mixer::SetTargetGains(b.voice, l, r);
}

// Renders `frames` frames into gPcm (16-bit stereo, already reduced to what
// the output format can carry) and into the capture. Caller holds gLock.
void RenderLocked(uint32_t frames) {
    gAccum.assign(size_t{frames} * 2, 0.0f);
    gPcm.resize(size_t{frames} * 2);
    if (gDevice != nullptr) {
        mixer::Mix(gAccum.data(), gDevice->voices.data(), gDevice->voices.size(), frames);
    }
    if (gSource != nullptr) gSource(gAccum.data(), frames, gOutput.samplesPerSec, gSourceUser);
    mixer::Saturate(gAccum.data(), gPcm.data(), gPcm.size());
    if (gOutput.channels == 1) {
        for (size_t i = 0; i < gPcm.size(); i += 2) {
            const int16_t m = static_cast<int16_t>((gPcm[i] + gPcm[i + 1]) >> 1);
            gPcm[i] = gPcm[i + 1] = m;
        }
    }
    if (gOutput.bitsPerSample == 8) {
        for (int16_t& s : gPcm) s = static_cast<int16_t>(s & ~0xFF);
    }
    gCapture.write(gPcm.data(), frames);
}

void SdlCallback(void*, Uint8* stream, int len) {
    std::lock_guard<std::mutex> guard(gLock);
    const uint32_t outFrameBytes = gOutput.channels * (gOutput.bitsPerSample / 8u);
    uint32_t frames = static_cast<uint32_t>(len) / outFrameBytes;
    Uint8* out = stream;
    while (frames > 0) {
        const uint32_t n = std::min(frames, kChunkFrames);
        RenderLocked(n);
        for (uint32_t i = 0; i < n; ++i) {
            for (uint32_t c = 0; c < gOutput.channels; ++c) {
                const int16_t s = gPcm[2 * i + c];
                if (gOutput.bitsPerSample == 8) {
                    *out++ = static_cast<Uint8>((s >> 8) + 128);
                } else {
                    std::memcpy(out, &s, 2);
                    out += 2;
                }
            }
        }
        frames -= n;
    }
}

void OnClock(uint64_t nowMicros) {
    std::lock_guard<std::mutex> guard(gLock);
    if (gDevice == nullptr || !gDevice->headless || nowMicros < gDevice->clockBase) return;
    // Rounded: the clock reports whole microseconds, and a frame of 1/60 s
    // must come out as exactly rate/60 samples.
    const uint64_t due = ((nowMicros - gDevice->clockBase) * gOutput.samplesPerSec + 500000u) / 1000000u;
    while (gDevice->clockFrames < due) {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(due - gDevice->clockFrames, kChunkFrames));
        RenderLocked(n);
        gDevice->clockFrames += n;
    }
}

void FinishCapture() {
    std::lock_guard<std::mutex> guard(gLock);
    gCapture.close();
}

void StartCaptureOnce() {
    if (gCaptureTried) return;
    gCaptureTried = true;
    const std::string& path = GetOptions().audioCapture;
    if (path.empty()) return;
    if (!gCapture.open(path, gOutput.samplesPerSec)) {
        std::fprintf(stderr, "audio capture: cannot write %s\n", path.c_str());
        gCaptureFailed = true;
        return;
    }
    std::atexit(FinishCapture);
}

SDL_AudioDeviceID OpenSdlOutput(const PcmFormat& format) {
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = static_cast<int>(format.samplesPerSec);
    want.format = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = 1024;
    want.callback = SdlCallback;
    // No changes allowed: SDL converts our format to the hardware's itself.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

void RecomputeSteps() {
    if (gDevice == nullptr) return;
    for (SoundBuffer* b : gDevice->buffers) b->voice.step = mixer::StepFor(b->frequency, gOutput.samplesPerSec);
}

}  // namespace

bool AudioCaptureFailed() { return gCaptureFailed; }

AudioDevice* OpenAudioDevice() {
    if (gDevice != nullptr) return nullptr;
    auto device = std::make_unique<AudioDevice>();
    device->headless = GetOptions().headless;
    {
        std::lock_guard<std::mutex> guard(gLock);
        gOutput = DefaultOutput();
        StartCaptureOnce();
    }
    if (device->headless) {
        std::lock_guard<std::mutex> guard(gLock);
        device->clockBase = TimeMicros();
        gDevice = device.release();
        SetTimeListener(OnClock);
        return gDevice;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        device->sdl = OpenSdlOutput(gOutput);
        if (device->sdl == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (device->sdl == 0 && gCapture.isOpen()) {
        // No sound card, but the capture was asked for: let SDL's dummy
        // driver pace the mixer in real time.
        if (SDL_AudioInit("dummy") == 0) {
            device->sdl = OpenSdlOutput(gOutput);
            if (device->sdl != 0) {
                device->sdlDummy = true;
            } else {
                SDL_AudioQuit();
            }
        }
    }
    if (device->sdl == 0) return nullptr;
    {
        std::lock_guard<std::mutex> guard(gLock);
        gDevice = device.release();
    }
    SDL_PauseAudioDevice(gDevice->sdl, 0);
    return gDevice;
}

void CloseAudioDevice(AudioDevice* device) {
    if (device == nullptr || device != gDevice) return;
    // Before the lock: the sequencer takes it to remove its source.
    midi::Shutdown();
    if (device->sdl != 0) {
        SDL_CloseAudioDevice(device->sdl);  // waits for the mixing thread; must not hold gLock
        if (device->sdlDummy) {
            SDL_AudioQuit();
        } else {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    std::lock_guard<std::mutex> guard(gLock);
    for (SoundBuffer* b : device->buffers) delete b;
    gDevice = nullptr;
    gCapture.updateHeader();
    delete device;
}

Result SetOutputFormat(AudioDevice* device, const PcmFormat& format) {
    if (device == nullptr || device != gDevice) return kErrNoDevice;
    if (!Playable(format) || format.blockAlign != format.channels * (format.bitsPerSample / 8)) {
        return kErrBadFormat;
    }
    if (device->headless) {
        std::lock_guard<std::mutex> guard(gLock);
        gOutput = format;
        device->clockBase = TimeMicros();
        device->clockFrames = 0;
        RecomputeSteps();
        return kOk;
    }
    SDL_CloseAudioDevice(device->sdl);
    const PcmFormat previous = gOutput;
    {
        std::lock_guard<std::mutex> guard(gLock);
        gOutput = format;
        RecomputeSteps();
    }
    device->sdl = OpenSdlOutput(format);
    Result result = kOk;
    if (device->sdl == 0) {
        result = kErrBadFormat;
        {
            std::lock_guard<std::mutex> guard(gLock);
            gOutput = previous;
            RecomputeSteps();
        }
        device->sdl = OpenSdlOutput(previous);
    }
    if (device->sdl != 0) SDL_PauseAudioDevice(device->sdl, 0);
    return result;
}

bool AudioOutputAvailable() {
    std::lock_guard<std::mutex> guard(gLock);
    return gDevice != nullptr;
}

PcmFormat GetOutputFormat() {
    std::lock_guard<std::mutex> guard(gLock);
    return gOutput;
}

SoundBuffer* CreateSoundBuffer(AudioDevice* device, const PcmFormat& format, uint32_t bytes, Result* error) {
    Result dummy;
    Result& why = error != nullptr ? *error : dummy;
    std::lock_guard<std::mutex> guard(gLock);
    if (device == nullptr || device != gDevice) {
        why = kErrNoDevice;
        return nullptr;
    }
    if (!Playable(format)) {
        why = kErrBadFormat;
        return nullptr;
    }
    const uint32_t frameBytes = format.channels * (format.bitsPerSample / 8u);
    if (bytes < frameBytes || bytes > kMaxBufferBytes) {
        why = kErrBadFormat;
        return nullptr;
    }
    auto b = std::make_unique<SoundBuffer>();
    b->device = device;
    b->format = format;
    b->bytes = bytes;
    b->frameBytes = frameBytes;
    b->storage.reset(new (std::nothrow) int16_t[(size_t{bytes} + 1) / 2]);
    if (!b->storage) {
        why = kErrOutOfMemory;
        return nullptr;
    }
    // Silence: 0 for 16-bit samples, 128 for 8-bit ones.
    std::memset(b->storage.get(), format.bitsPerSample == 8 ? 0x80 : 0, (size_t{bytes} + 1) / 2 * 2);
    b->frequency = format.samplesPerSec;
    b->voice.data = b->storage.get();
    b->voice.frames = bytes / frameBytes;
    b->voice.layout = LayoutOf(format);
    b->voice.step = mixer::StepFor(b->frequency, gOutput.samplesPerSec);
    UpdateGains(*b);
    device->buffers.push_back(b.get());
    device->voices.push_back(&b->voice);
    why = kOk;
    return b.release();
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    AudioDevice* device = buffer->device;
    if (device != nullptr) {
        auto& list = device->buffers;
        list.erase(std::remove(list.begin(), list.end(), buffer), list.end());
        auto& voices = device->voices;
        voices.erase(std::remove(voices.begin(), voices.end(), &buffer->voice), voices.end());
    }
    delete buffer;
}

Result LockSoundBuffer(SoundBuffer* b, uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1,
                       void** part2, uint32_t* size2) {
    if (part1 != nullptr) *part1 = nullptr;
    if (part2 != nullptr) *part2 = nullptr;
    if (size1 != nullptr) *size1 = 0;
    if (size2 != nullptr) *size2 = 0;
    if (b == nullptr || part1 == nullptr || size1 == nullptr) return kErrGeneric;
    std::lock_guard<std::mutex> guard(gLock);
    if (b->locked) return kErrLocked;
    if (offset >= b->bytes || bytes == 0 || bytes > b->bytes) return kErrGeneric;
    const uint32_t first = std::min(bytes, b->bytes - offset);
    const uint32_t second = bytes - first;
    if (second > 0 && (part2 == nullptr || size2 == nullptr)) return kErrGeneric;
    b->lockCopy.resize(bytes);
    std::memcpy(b->lockCopy.data(), b->bytePointer() + offset, first);
    std::memcpy(b->lockCopy.data() + first, b->bytePointer(), second);
    b->lockOffset = offset;
    b->lockSize1 = first;
    b->lockSize2 = second;
    b->locked = true;
    *part1 = b->lockCopy.data();
    *size1 = first;
    if (second > 0) {
        *part2 = b->lockCopy.data() + first;
        *size2 = second;
    }
    return kOk;
}

Result UnlockSoundBuffer(SoundBuffer* b) {
    if (b == nullptr) return kErrGeneric;
    std::lock_guard<std::mutex> guard(gLock);
    if (!b->locked) return kErrGeneric;
    std::memcpy(b->bytePointer() + b->lockOffset, b->lockCopy.data(), b->lockSize1);
    std::memcpy(b->bytePointer(), b->lockCopy.data() + b->lockSize1, b->lockSize2);
    b->locked = false;
    std::vector<uint8_t>().swap(b->lockCopy);
    return kOk;
}

void PlaySoundBuffer(SoundBuffer* b, bool looping) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    b->voice.looping = looping;
    b->voice.playing = true;
}

void StopSoundBuffer(SoundBuffer* b) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    b->voice.playing = false;
}

bool SoundBufferPlaying(const SoundBuffer* b) {
    if (b == nullptr) return false;
    std::lock_guard<std::mutex> guard(gLock);
    return b->voice.playing;
}

void SetSoundPosition(SoundBuffer* b, uint32_t bytes) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    const uint32_t frame = std::min(bytes / b->frameBytes, b->voice.frames - 1);
    b->voice.position = uint64_t{frame} << mixer::kFracBits;
}

uint32_t GetSoundPosition(const SoundBuffer* b) {
    if (b == nullptr) return 0;
    std::lock_guard<std::mutex> guard(gLock);
    return static_cast<uint32_t>(b->voice.position >> mixer::kFracBits) * b->frameBytes;
}

uint32_t GetSoundSize(const SoundBuffer* b) { return b != nullptr ? b->bytes : 0; }

PcmFormat GetSoundFormat(const SoundBuffer* b) { return b != nullptr ? b->format : PcmFormat{}; }

void SetSoundFrequency(SoundBuffer* b, uint32_t hz) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    b->frequency = std::clamp(hz, kMinFrequency, kMaxFrequency);
    // Only the step changes; the position and its fraction run on, so a rate
    // change never jumps in the waveform.
    b->voice.step = mixer::StepFor(b->frequency, gOutput.samplesPerSec);
}

uint32_t GetSoundFrequency(const SoundBuffer* b) {
    if (b == nullptr) return 0;
    std::lock_guard<std::mutex> guard(gLock);
    return b->frequency;
}

void SetSoundVolume(SoundBuffer* b, long volume) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    b->volume = std::clamp(volume, -10000L, 0L);
    UpdateGains(*b);
}

void SetSoundPan(SoundBuffer* b, long pan) {
    if (b == nullptr) return;
    std::lock_guard<std::mutex> guard(gLock);
    b->pan = std::clamp(pan, -10000L, 10000L);
    UpdateGains(*b);
}

void AdvanceAudio(uint32_t frames, int16_t* out) {
    std::lock_guard<std::mutex> guard(gLock);
    if (gDevice == nullptr || !gDevice->headless) return;
    while (frames > 0) {
        const uint32_t n = std::min(frames, kChunkFrames);
        RenderLocked(n);
        if (out != nullptr) {
            std::memcpy(out, gPcm.data(), size_t{n} * 4);
            out += size_t{n} * 2;
        }
        frames -= n;
    }
}

void SetAudioSource(AudioSource source, void* user) {
    std::lock_guard<std::mutex> guard(gLock);
    gSource = source;
    gSourceUser = user;
}

}  // namespace plat
