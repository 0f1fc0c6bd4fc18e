// WAV encoding and decoding for 16-bit PCM.
#include "Wav.h"
#include "LittleEndian.h"

#include <cmath>

namespace assetgen {

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

}  // namespace

std::vector<int16_t> ToPcm16(const std::vector<float>& samples) {
    std::vector<int16_t> out;
    out.reserve(samples.size());
    for (float s : samples) {
        long v = std::lround(double(s) * 32767.0);
        out.push_back(int16_t(v > 32767 ? 32767 : v < -32768 ? -32768 : v));
    }
    return out;
}

std::vector<uint8_t> EncodeWav(const Pcm16& pcm) {
    const uint32_t dataBytes = uint32_t(pcm.samples.size() * 2);
    const uint32_t blockAlign = uint32_t(pcm.channels) * 2;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, uint32_t(pcm.channels));
    Put32(out, uint32_t(pcm.sampleRate));
    Put32(out, uint32_t(pcm.sampleRate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : pcm.samples) Put16(out, uint16_t(s));
    return out;
}

bool DecodeWav(const std::vector<uint8_t>& b, Pcm16* pcm) {
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return false;
    bool haveFormat = false, haveData = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
        const uint32_t size = Get32(b, at + 4);
        const size_t body = at + 8;
        if (size > b.size() - body) return false;
        if (id == "fmt ") {
            if (size < 16 || Get16(b, body) != 1 || Get16(b, body + 14) != 16) return false;
            pcm->channels = int(Get16(b, body + 2));
            pcm->sampleRate = int(Get32(b, body + 4));
            haveFormat = pcm->channels > 0;
        } else if (id == "data") {
            pcm->samples.resize(size / 2);
            for (size_t i = 0; i < pcm->samples.size(); ++i) pcm->samples[i] = int16_t(Get16(b, body + 2 * i));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    return haveFormat && haveData;
}

}  // namespace assetgen
