// Cost of the software mixer: 32 playing voices with differing rates,
// layouts, volumes and pans, mixed into 44100 Hz stereo. The "core%" counter
// is the share of one core that real-time output would take.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/AudioMixer.h"
#include "platform/Options.h"

namespace {

constexpr uint32_t kOutputRate = 44100;
constexpr uint32_t kBlock = 1024;
constexpr int kVoices = 32;

const uint32_t kRates[] = {8000, 11025, 22050, 32000, 44100, 48000, 96000, 16000};

plat::PcmFormat FormatFor(int i) {
    plat::PcmFormat f;
    f.channels = static_cast<uint16_t>(i % 2 == 0 ? 2 : 1);
    f.bitsPerSample = static_cast<uint16_t>(i % 3 == 0 ? 8 : 16);
    f.samplesPerSec = kRates[i % 8];
    f.blockAlign = static_cast<uint16_t>(f.channels * f.bitsPerSample / 8);
    f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
    return f;
}

// A second of noise-like data in the voice's layout.
std::vector<int16_t> Data(const plat::PcmFormat& f) {
    const size_t bytes = size_t{f.samplesPerSec} * f.blockAlign;
    std::vector<int16_t> d((bytes + 1) / 2);
    uint32_t x = 12345;
    for (int16_t& s : d) {
        x = x * 1103515245u + 12345u;
        s = static_cast<int16_t>(x >> 16);
    }
    return d;
}

// Processor time of the thread over the audio time it produced, in percent.
double ThreadSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void SetCoreShare(benchmark::State& state, double cpuSeconds) {
    const double audioSeconds = static_cast<double>(state.iterations()) * kBlock / kOutputRate;
    state.counters["core%"] = audioSeconds > 0 ? 100.0 * cpuSeconds / audioSeconds : 0.0;
}

void BM_Mix32Voices(benchmark::State& state) {
    std::vector<std::vector<int16_t>> data;
    std::vector<plat::mixer::Voice> voices(kVoices);
    std::vector<plat::mixer::Voice*> pointers;
    for (int i = 0; i < kVoices; ++i) {
        const plat::PcmFormat f = FormatFor(i);
        data.push_back(Data(f));
        plat::mixer::Voice& v = voices[i];
        v.data = data.back().data();
        v.frames = f.samplesPerSec;
        v.layout = f.bitsPerSample == 8 ? (f.channels == 2 ? plat::mixer::Layout::U8Stereo : plat::mixer::Layout::U8Mono)
                                        : (f.channels == 2 ? plat::mixer::Layout::S16Stereo : plat::mixer::Layout::S16Mono);
        v.step = plat::mixer::StepFor(f.samplesPerSec + static_cast<uint32_t>(i * 37), kOutputRate);
        float l, r;
        plat::mixer::VoiceGains(-(i * 97) % 3000, (i * 613) % 20001 - 10000, &l, &r);
        v.gainL = v.targetL = l;
        v.gainR = v.targetR = r;
        v.playing = true;
        v.looping = true;
        pointers.push_back(&v);
    }
    std::vector<float> accum(kBlock * 2);
    std::vector<int16_t> out(kBlock * 2);
    const double start = ThreadSeconds();
    for (auto _ : state) {
        std::fill(accum.begin(), accum.end(), 0.0f);
        plat::mixer::Mix(accum.data(), pointers.data(), pointers.size(), kBlock);
        plat::mixer::Saturate(accum.data(), out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
    SetCoreShare(state, ThreadSeconds() - start);
}
BENCHMARK(BM_Mix32Voices);

// The same load through the sound device (lock, output stage), headless.
void BM_Device32Buffers(benchmark::State& state) {
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    plat::AudioDevice* device = plat::OpenAudioDevice();
    if (device == nullptr) {
        state.SkipWithError("no device");
        return;
    }
    for (int i = 0; i < kVoices; ++i) {
        const plat::PcmFormat f = FormatFor(i);
        const std::vector<int16_t> d = Data(f);
        const uint32_t bytes = f.samplesPerSec * f.blockAlign;
        plat::SoundBuffer* b = plat::CreateSoundBuffer(device, f, bytes);
        void *p1, *p2;
        uint32_t n1, n2;
        plat::LockSoundBuffer(b, 0, bytes, &p1, &n1, &p2, &n2);
        std::memcpy(p1, d.data(), n1);
        plat::UnlockSoundBuffer(b);
        plat::SetSoundFrequency(b, f.samplesPerSec + static_cast<uint32_t>(i * 37));
        plat::SetSoundVolume(b, -(i * 97) % 3000);
        plat::SetSoundPan(b, (i * 613) % 20001 - 10000);
        plat::PlaySoundBuffer(b, true);
    }
    const double start = ThreadSeconds();
    for (auto _ : state) plat::AdvanceAudio(kBlock);
    SetCoreShare(state, ThreadSeconds() - start);
    plat::CloseAudioDevice(device);
}
BENCHMARK(BM_Device32Buffers);

}  // namespace
