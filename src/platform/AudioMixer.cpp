// The mixing kernels: one per sample layout, each walking a voice with a
// 32.32 position and linear interpolation, split into runs that need no
// end-of-buffer test per sample. Compiled with -O3 (see cmake/areas/sound.cmake).
#include "platform/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace plat::mixer {
namespace {

constexpr float kFracScale = 1.0f / 4294967296.0f;

template <Layout L>
struct Source;

template <>
struct Source<Layout::S16Stereo> {
    static void Get(const void* d, uint32_t i, float& l, float& r) {
        const int16_t* s = static_cast<const int16_t*>(d) + 2 * size_t{i};
        l = s[0];
        r = s[1];
    }
};
template <>
struct Source<Layout::S16Mono> {
    static void Get(const void* d, uint32_t i, float& l, float& r) {
        l = r = static_cast<const int16_t*>(d)[i];
    }
};
template <>
struct Source<Layout::U8Stereo> {
    static void Get(const void* d, uint32_t i, float& l, float& r) {
        const uint8_t* s = static_cast<const uint8_t*>(d) + 2 * size_t{i};
        l = (s[0] - 128) * 256.0f;
        r = (s[1] - 128) * 256.0f;
    }
};
template <>
struct Source<Layout::U8Mono> {
    static void Get(const void* d, uint32_t i, float& l, float& r) {
        l = r = (static_cast<const uint8_t*>(d)[i] - 128) * 256.0f;
    }
};

// Moves a silent voice on without touching the accumulator.
void Skip(Voice& v, uint32_t frames) {
    const uint64_t end = uint64_t{v.frames} << kFracBits;
    uint64_t pos = v.position + v.step * frames;
    if (pos >= end) {
        if (!v.looping) {
            v.playing = false;
            pos = 0;
        } else {
            pos %= end;
        }
    }
    v.position = pos;
}

template <Layout L>
void MixVoice(float* out, Voice& v, uint32_t frames) {
    const uint64_t end = uint64_t{v.frames} << kFracBits;
    const uint64_t lastFrame = uint64_t{v.frames - 1} << kFracBits;
    const void* data = v.data;
    const uint64_t step = v.step;
    float gl = v.gainL;
    float gr = v.gainR;
    uint32_t done = 0;
    while (done < frames) {
        uint32_t n = frames - done;
        float dl = 0.0f;
        float dr = 0.0f;
        if (v.rampLeft > 0) {
            n = std::min(n, v.rampLeft);
            dl = (v.targetL - gl) / static_cast<float>(v.rampLeft);
            dr = (v.targetR - gr) / static_cast<float>(v.rampLeft);
        }
        uint64_t pos = v.position;
        uint32_t run;
        if (pos < lastFrame) {
            // Every frame of this run has its right-hand neighbour in the buffer.
            const uint64_t fits = (lastFrame - pos + step - 1) / step;
            run = static_cast<uint32_t>(std::min<uint64_t>(fits, n));
            for (uint32_t j = 0; j < run; ++j) {
                const uint32_t i = static_cast<uint32_t>(pos >> kFracBits);
                const float f = static_cast<float>(static_cast<uint32_t>(pos)) * kFracScale;
                float l0, r0, l1, r1;
                Source<L>::Get(data, i, l0, r0);
                Source<L>::Get(data, i + 1, l1, r1);
                out[0] += (l0 + (l1 - l0) * f) * gl;
                out[1] += (r0 + (r1 - r0) * f) * gr;
                out += 2;
                gl += dl;
                gr += dr;
                pos += step;
            }
        } else {
            // The last frame: it leads into frame 0 when looping, into silence otherwise.
            run = 1;
            const float f = static_cast<float>(static_cast<uint32_t>(pos)) * kFracScale;
            float l0, r0, l1 = 0.0f, r1 = 0.0f;
            Source<L>::Get(data, v.frames - 1, l0, r0);
            if (v.looping) Source<L>::Get(data, 0, l1, r1);
            out[0] += (l0 + (l1 - l0) * f) * gl;
            out[1] += (r0 + (r1 - r0) * f) * gr;
            out += 2;
            gl += dl;
            gr += dr;
            pos += step;
        }
        done += run;
        if (v.rampLeft > 0) {
            v.rampLeft -= run;
            if (v.rampLeft == 0) {
                gl = v.targetL;
                gr = v.targetR;
            }
        }
        if (pos >= end) {
            if (!v.looping) {
                v.playing = false;
                v.position = 0;
                break;
            }
            pos %= end;
        }
        v.position = pos;
    }
    v.gainL = gl;
    v.gainR = gr;
}

}  // namespace

void Mix(float* accum, Voice* const* voices, size_t count, uint32_t frames) {
    for (size_t k = 0; k < count; ++k) {
        Voice& v = *voices[k];
        if (!v.playing || v.frames == 0 || v.data == nullptr) continue;
        if (v.rampLeft == 0 && v.gainL == 0.0f && v.gainR == 0.0f) {
            Skip(v, frames);
            continue;
        }
        switch (v.layout) {
        case Layout::S16Stereo: MixVoice<Layout::S16Stereo>(accum, v, frames); break;
        case Layout::S16Mono: MixVoice<Layout::S16Mono>(accum, v, frames); break;
        case Layout::U8Stereo: MixVoice<Layout::U8Stereo>(accum, v, frames); break;
        case Layout::U8Mono: MixVoice<Layout::U8Mono>(accum, v, frames); break;
        }
    }
}

void Saturate(const float* accum, int16_t* out, size_t samples) {
    for (size_t i = 0; i < samples; ++i) {
        const float c = std::min(std::max(accum[i], -32768.0f), 32767.0f);
        out[i] = static_cast<int16_t>(c + (c >= 0.0f ? 0.5f : -0.5f));
    }
}

float GainFromMillibels(long millibels) {
    if (millibels <= -10000) return 0.0f;
    if (millibels >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(millibels) / 2000.0));
}

void VoiceGains(long volume, long pan, float* left, float* right) {
    const float g = GainFromMillibels(volume);
    *left = g * (pan > 0 ? GainFromMillibels(-pan) : 1.0f);
    *right = g * (pan < 0 ? GainFromMillibels(pan) : 1.0f);
}

uint64_t StepFor(uint32_t frequency, uint32_t outputRate) {
    if (outputRate == 0) return kOne;
    return (uint64_t{frequency} << kFracBits) / outputRate;
}

void SetTargetGains(Voice& voice, float left, float right) {
    voice.targetL = left;
    voice.targetR = right;
    if (voice.playing) {
        voice.rampLeft = kGainRampFrames;
    } else {
        voice.gainL = left;
        voice.gainR = right;
        voice.rampLeft = 0;
    }
}

}  // namespace plat::mixer
