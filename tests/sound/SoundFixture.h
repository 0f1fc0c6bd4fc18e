// Shared set-up of the sound tests: a headless sound device with a clean
// table per test, WAV images built byte by byte, a scratch folder next to
// the program (the loaders take program-relative names) and frame stepping.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/AudioDevice.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"
#include "sound/kaSound.h"

namespace soundtest {

inline void Put16(std::string& b, uint32_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline std::string Chunk(const char* id, const std::string& body, uint32_t declared = 0xFFFFFFFF) {
    std::string c(id, 4);
    Put32(c, declared == 0xFFFFFFFF ? static_cast<uint32_t>(body.size()) : declared);
    c += body;
    if (body.size() & 1) c.push_back('\0');
    return c;
}

inline std::string FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string f;
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);
    Put16(f, align);
    Put16(f, bits);
    return f;
}

inline std::string Riff(const std::string& chunks) {
    std::string w = "RIFF";
    Put32(w, static_cast<uint32_t>(4 + chunks.size()));
    return w + "WAVE" + chunks;
}

inline std::string Samples16(const std::vector<int16_t>& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
}

// An ordinary PCM WAV file.
inline std::string Wav(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& data) {
    return Riff(Chunk("fmt ", FmtBody(1, channels, rate, bits)) + Chunk("data", data));
}

// `frames` stereo frames whose samples say where they are: left = frame
// index pattern, right = its negative, so any slip or swap shows.
inline std::vector<int16_t> Pattern(uint32_t frames, int seed = 0) {
    std::vector<int16_t> s(size_t{frames} * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        const int v = static_cast<int>((i * 37u + static_cast<uint32_t>(seed) * 1001u) % 30001u) - 15000;
        s[2 * i] = static_cast<int16_t>(v);
        s[2 * i + 1] = static_cast<int16_t>(-v / 2);
    }
    return s;
}

inline std::string ProgramDir() {
    const char* d = kaSystem::Directory(0);
    return d != nullptr ? d : "";
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::string ReadAll(const std::string& path) {
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

// Each test gets a headless device, an empty table and its own scratch
// folder below the program folder ("\snd<pid>\..." names reach it).
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        ASSERT_EQ(kaSound::Init(), 1);
        kaSound::ResetTable();
        kaSound::PackFileName[0] = '\0';
        kaDraw::ErrorCheck = 0;
        FrameTime = 1.0f / 60.0f;
        folder_ = "snd" + std::to_string(getpid());
        dir_ = ProgramDir() + folder_ + "/";
        std::string cmd = "mkdir -p '" + dir_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void TearDown() override {
        kaSound::DestroyObject();
        std::string cmd = "rm -rf '" + dir_ + "'";
        std::system(cmd.c_str());
    }

    // Writes a file into the scratch folder; returns its program-relative name.
    std::string Put(const std::string& name, const std::string& bytes) {
        WriteFile(dir_ + name, bytes);
        return "\\" + folder_ + "\\" + name;
    }

    // Renders `frames` output frames (44100 Hz stereo) and returns them.
    static std::vector<int16_t> Render(uint32_t frames) {
        std::vector<int16_t> out(size_t{frames} * 2);
        plat::AdvanceAudio(frames, out.data());
        return out;
    }

    static plat::SoundBuffer* Buf(int slot, int mix) { return DSBuff2[slot][mix]; }

    std::string folder_;
    std::string dir_;
};

}  // namespace soundtest
