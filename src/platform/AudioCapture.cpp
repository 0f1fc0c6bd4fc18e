// Writing the audio capture as a 16-bit stereo WAV file.
#include "platform/AudioCapture.h"

#include <cstring>

namespace plat::detail {
namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

// A WAV file cannot describe more than 4 GB; the data is cut there.
constexpr uint64_t kMaxData = 0xFFFFFFFFull - 36 - 3;

}  // namespace

void WriteWavHeader(uint8_t h[44], uint32_t rate, uint16_t channels, uint32_t dataBytes) {
    const uint32_t blockAlign = channels * 2u;
    std::memcpy(h, "RIFF", 4);
    Put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    Put32(h + 16, 16);
    Put16(h + 20, 1);
    Put16(h + 22, channels);
    Put32(h + 24, rate);
    Put32(h + 28, rate * blockAlign);
    Put16(h + 32, blockAlign);
    Put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    Put32(h + 40, dataBytes);
}

bool WavCapture::open(const std::string& path, uint32_t rate) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) return false;
    rate_ = rate;
    dataBytes_ = 0;
    sinceUpdate_ = 0;
    failed_ = false;
    updateHeader();
    return true;
}

void WavCapture::write(const int16_t* stereo, uint32_t frames) {
    if (file_ == nullptr || failed_) return;
    uint64_t bytes = uint64_t{frames} * 4;
    if (dataBytes_ + bytes > kMaxData) bytes = (kMaxData - dataBytes_) & ~uint64_t{3};
    if (bytes == 0) return;
    // WAV samples are little-endian, as are ours on every machine we build for.
    if (std::fwrite(stereo, 1, bytes, file_) != bytes) {
        failed_ = true;
        return;
    }
    dataBytes_ += bytes;
    sinceUpdate_ += bytes;
    if (sinceUpdate_ >= uint64_t{rate_} * 4) {
        sinceUpdate_ = 0;
        updateHeader();
    }
}

void WavCapture::updateHeader() {
    if (file_ == nullptr) return;
    uint8_t header[44];
    WriteWavHeader(header, rate_, 2, static_cast<uint32_t>(dataBytes_));
    const long end = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(header, 1, sizeof header, file_);
    std::fseek(file_, end < 44 ? 44 : end, SEEK_SET);
    std::fflush(file_);
}

void WavCapture::close() {
    if (file_ == nullptr) return;
    updateHeader();
    std::fclose(file_);
    file_ = nullptr;
}

}  // namespace plat::detail
