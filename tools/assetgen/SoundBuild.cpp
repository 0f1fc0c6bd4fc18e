// Renders each score of the manifest to its WAV file, and measures WAV
// files for the review report (length, peak, loudness, loop join).
#include "SoundBuild.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Bmp.h"
#include "Manifest.h"
#include "MidiWrite.h"
#include "Mml.h"
#include "Synth.h"
#include "Wav.h"

namespace fs = std::filesystem;

namespace assetgen {

namespace {

constexpr int kSampleRate = 22050;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

double Db(double level) { return level > 0 ? 20.0 * std::log10(level) : -120.0; }

}  // namespace

int BuildSounds(const std::string& resources, const std::string& outDir) {
    for (const SoundEntry& entry : Sounds()) {
        const std::string source = resources + "/" + entry.source + ".mml";
        Score score = ParseScore(ReadText(source), source);
        if (score.loops != entry.loops)
            throw std::runtime_error(source + (entry.loops ? ": must loop (#loop)" : ": must not loop"));
        Pcm16 pcm;
        pcm.sampleRate = kSampleRate;
        pcm.samples = ToPcm16(RenderScore(score, kSampleRate));
        const fs::path out = fs::path(outDir) / entry.path;
        fs::create_directories(out.parent_path());
        WriteBytes(out.string(), EncodeWav(pcm));
    }
    return 0;
}

int BuildMidi(const std::string& scoreFile, const std::string& out) {
    const Score score = ParseScore(ReadText(scoreFile), scoreFile);
    const fs::path target(out);
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    WriteBytes(out, EncodeMidi(score, fs::path(scoreFile).stem().string()));
    return 0;
}

int WriteSoundReport(const std::string& out, const std::vector<std::string>& files) {
    std::ostringstream report;
    report << "file                 seconds   peak dBFS   rms dBFS   join step   bytes\n";
    size_t total = 0;
    for (const std::string& file : files) {
        const std::vector<uint8_t> bytes = ReadBytes(file);
        Pcm16 pcm;
        if (!DecodeWav(bytes, &pcm) || pcm.samples.empty()) throw std::runtime_error(file + " is not 16-bit PCM");
        double peak = 0, energy = 0, step = 0;
        for (size_t i = 0; i < pcm.samples.size(); ++i) {
            const double s = pcm.samples[i] / 32768.0;
            peak = std::max(peak, std::fabs(s));
            energy += s * s;
            if (i > 0) step = std::max(step, std::fabs(s - pcm.samples[i - 1] / 32768.0));
        }
        // The jump from the last sample to the first, as a looping player
        // makes it, next to the largest jump inside the sound.
        const double join = std::fabs(pcm.samples.back() - double(pcm.samples.front())) / 32768.0;
        const double seconds = double(pcm.samples.size()) / pcm.channels / pcm.sampleRate;
        const fs::path p(file);
        char line[200];
        std::snprintf(line, sizeof line, "%-20s %7.2f   %9.2f   %8.2f   %.4f/%.4f   %zu\n",
                      (p.parent_path().filename() / p.filename()).string().c_str(), seconds, Db(peak),
                      Db(std::sqrt(energy / double(pcm.samples.size()))), join, step, bytes.size());
        report << line;
        total += bytes.size();
    }
    report << "total bytes " << total << "\n";
    std::ofstream file(out);
    file << report.str();
    if (!file) throw std::runtime_error("cannot write " + out);
    return 0;
}

}  // namespace assetgen
