// Cost of the MIDI synthesizer rendering into the mixer at 44100 Hz stereo,
// as the share of one core that real-time output takes ("core%"): the
// generated test tune alone and with 32 of the mixer's buffers, a dense General MIDI tune (16 channels of four-note
// chords on every eighth note, about 64 voices plus their releases), and the
// dense tune with 32 of the mixer's own buffers playing on top. Peer in the
// same run: BM_Device32Buffers (the mixer alone).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/Files.h"
#include "platform/Mci.h"
#include "platform/MidiSequencer.h"
#include "platform/Options.h"

namespace {

constexpr uint32_t kOutputRate = 44100;
constexpr uint32_t kBlock = 1024;

double ThreadSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::string Vlq(uint32_t v) {
    std::string out(1, static_cast<char>(v & 0x7F));
    while ((v >>= 7) != 0) out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    return out;
}

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// Eight bars at 150 quarters a minute, 96 ticks a quarter: each channel
// strikes a four-note chord on every eighth note with its own program.
std::string DenseTune() {
    std::string file = std::string("MThd") + Be32(6) + std::string("\0\1\0\20\0\x60", 6);
    for (int ch = 0; ch < 16; ++ch) {
        std::string t;
        if (ch == 0) t += std::string("\0\xFF\x51\x03\x06\x1A\x80", 7);
        t += Vlq(0) + static_cast<char>(0xC0 | ch) + static_cast<char>((ch * 8 + 1) % 128);
        const int root = ch == 9 ? 35 : 36 + (ch * 5) % 36;
        for (int step = 0; step < 8 * 8; ++step) {
            for (int n = 0; n < 4; ++n)
                t += Vlq(0) + static_cast<char>(0x90 | ch) + static_cast<char>(root + n * 4 + step % 3) + '\x60';
            for (int n = 0; n < 4; ++n)
                t += Vlq(n == 0 ? 48 : 0) + static_cast<char>(0x80 | ch) + static_cast<char>(root + n * 4 + step % 3) +
                     '\x40';
        }
        t += std::string("\0\xFF\x2F\0", 4);
        file += "MTrk" + Be32(static_cast<uint32_t>(t.size())) + t;
    }
    return file;
}

std::string TestTunePath() {
    std::string dir = plat::ModuleFileName();
    return dir.substr(0, dir.rfind('/') + 1) + "music/op.mid";
}

// 32 looping buffers of noise at assorted rates, volumes and pans.
void AddMixerBuffers(plat::AudioDevice* device) {
    uint32_t x = 12345;
    for (int i = 0; i < 32; ++i) {
        plat::PcmFormat f;
        f.samplesPerSec = 11025u << (i % 3);
        f.avgBytesPerSec = f.samplesPerSec * 4;
        const uint32_t bytes = f.samplesPerSec * 4;
        plat::SoundBuffer* b = plat::CreateSoundBuffer(device, f, bytes);
        void *p1, *p2;
        uint32_t n1, n2;
        plat::LockSoundBuffer(b, 0, bytes, &p1, &n1, &p2, &n2);
        int16_t* s = static_cast<int16_t*>(p1);
        for (uint32_t k = 0; k < n1 / 2; ++k) {
            x = x * 1103515245u + 12345u;
            s[k] = static_cast<int16_t>(x >> 20);
        }
        plat::UnlockSoundBuffer(b);
        plat::SetSoundVolume(b, -(i * 97) % 3000);
        plat::SetSoundPan(b, (i * 613) % 20001 - 10000);
        plat::PlaySoundBuffer(b, true);
    }
}

void RenderTune(benchmark::State& state, const std::string& path, bool withBuffers) {
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    plat::AudioDevice* device = plat::OpenAudioDevice();
    const std::string open = "open \"" + path + "\" type sequencer alias midi";
    if (device == nullptr || plat::MciSendString(open.c_str(), nullptr, 0, nullptr) != plat::kMciOk) {
        state.SkipWithError("no device or no tune");
        plat::CloseAudioDevice(device);
        return;
    }
    if (withBuffers) AddMixerBuffers(device);
    plat::MciSendString("play midi", nullptr, 0, nullptr);
    const double start = ThreadSeconds();
    for (auto _ : state) {
        plat::AdvanceAudio(kBlock);
        if (!plat::midi::Playing()) {  // loop: the measure covers whole passes
            plat::MciSendString("seek midi to start", nullptr, 0, nullptr);
            plat::MciSendString("play midi", nullptr, 0, nullptr);
        }
    }
    const double cpu = ThreadSeconds() - start;
    const double audio = static_cast<double>(state.iterations()) * kBlock / kOutputRate;
    state.counters["core%"] = audio > 0 ? 100.0 * cpu / audio : 0.0;
    plat::MciSendString("close midi", nullptr, 0, nullptr);
    plat::CloseAudioDevice(device);
}

class DenseFile {
public:
    DenseFile() {
        char pattern[] = "/tmp/midibench-XXXXXX.mid";
        const int fd = mkstemps(pattern, 4);
        if (fd < 0) return;
        const std::string bytes = DenseTune();
        if (write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) path_ = pattern;
        close(fd);
    }
    ~DenseFile() {
        if (!path_.empty()) unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void BM_MidiTestTune(benchmark::State& state) { RenderTune(state, TestTunePath(), false); }
BENCHMARK(BM_MidiTestTune)->MinTime(3.0);

void BM_MidiTestTuneWith32Buffers(benchmark::State& state) { RenderTune(state, TestTunePath(), true); }
BENCHMARK(BM_MidiTestTuneWith32Buffers)->MinTime(3.0);

void BM_MidiDenseTune(benchmark::State& state) {
    DenseFile file;
    RenderTune(state, file.path(), false);
}
BENCHMARK(BM_MidiDenseTune)->MinTime(3.0);

void BM_MidiDenseTuneWith32Buffers(benchmark::State& state) {
    DenseFile file;
    RenderTune(state, file.path(), true);
}
BENCHMARK(BM_MidiDenseTuneWith32Buffers)->MinTime(3.0);

}  // namespace
