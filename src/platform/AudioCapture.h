// The audio capture: everything the mixer outputs, appended to one 16-bit
// stereo WAV file for the whole run (across device reopens). The header is
// brought up to date every second of audio and when the run ends, so that a
// capture stays readable even if the program is killed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace plat::detail {

class WavCapture {
public:
    WavCapture() = default;
    WavCapture(const WavCapture&) = delete;
    WavCapture& operator=(const WavCapture&) = delete;
    ~WavCapture() { close(); }

    // Creates the file with an empty data chunk. False when it cannot be written.
    bool open(const std::string& path, uint32_t rate);
    bool isOpen() const { return file_ != nullptr; }
    uint32_t rate() const { return rate_; }
    // Appends interleaved 16-bit stereo frames.
    void write(const int16_t* stereo, uint32_t frames);
    // Rewrites the sizes in the header and flushes.
    void updateHeader();
    void close();

private:
    FILE* file_ = nullptr;
    uint32_t rate_ = 0;
    uint64_t dataBytes_ = 0;
    uint64_t sinceUpdate_ = 0;
    bool failed_ = false;
};

// Little-endian 44-byte header of a 16-bit PCM WAV file.
void WriteWavHeader(uint8_t header[44], uint32_t rate, uint16_t channels, uint32_t dataBytes);

}  // namespace plat::detail
