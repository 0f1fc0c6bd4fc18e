// The parsers of sound files, on stdio streams: the RIFF/WAVE chunk walk and
// the sound pack scanner. Every size read from a stream is checked against
// what the stream really holds before memory is allocated or a read is
// attempted. No table or device here, so the fuzzers can run them alone.
#include <cstdlib>
#include <cstring>

#include "sound/SoundInternal.h"

namespace kasound {
namespace {

// Longest pack entry name, without its NUL.
constexpr size_t kMaxPackName = 127;
// Longest format record we accept: the header and the largest extra block.
constexpr uint32_t kMaxHead = 18 + 0xFFFF;

bool Read32(FILE* f, uint32_t* v) {
    uint8_t b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    *v = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
    return true;
}

// Length of the stream, or -1.
long StreamLength(FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

plat::PcmFormat ToPcm(const WAVEFORMATEX* head, unsigned long headSize) {
    plat::PcmFormat f;
    f.formatTag = 0;
    if (head == nullptr || headSize < 16) return f;
    f.formatTag = head->wFormatTag;
    f.channels = head->nChannels;
    f.samplesPerSec = head->nSamplesPerSec;
    f.avgBytesPerSec = head->nAvgBytesPerSec;
    f.blockAlign = head->nBlockAlign;
    f.bitsPerSample = head->wBitsPerSample;
    // WAVE_FORMAT_EXTENSIBLE whose sub-format GUID begins with the PCM tag.
    constexpr uint16_t kExtensible = 0xFFFE;
    if (f.formatTag == kExtensible && headSize >= 18 + 22 && head->cbSize >= 22) {
        const uint8_t* extra = reinterpret_cast<const uint8_t*>(head) + 18;
        const uint16_t subFormat = static_cast<uint16_t>(extra[6] | (extra[7] << 8));
        if (subFormat == 1) f.formatTag = 1;
    }
    return f;
}

int ReadWave(FILE* f, WAVEFORMATEX** head, unsigned long* headSize, uint8_t** data, unsigned long* size) {
    *head = nullptr;
    *headSize = 0;
    *data = nullptr;
    *size = 0;
    const long length = StreamLength(f);
    if (length < 12) return 1;
    uint8_t riff[12];
    if (std::fread(riff, 1, 12, f) != 12 || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return 1;
    }
    // The RIFF size is often wrong in files written by streaming recorders;
    // the file's real length bounds the walk instead.
    const uint64_t end = static_cast<uint64_t>(length);
    uint64_t fmtAt = 0, dataAt = 0;
    uint32_t fmtSize = 0, dataSize = 0;
    bool haveFmt = false, haveData = false;
    uint64_t pos = 12;
    while (pos + 8 <= end && !(haveFmt && haveData)) {
        uint8_t id[4];
        uint32_t chunkSize = 0;
        if (std::fseek(f, static_cast<long>(pos), SEEK_SET) != 0 || std::fread(id, 1, 4, f) != 4 ||
            !Read32(f, &chunkSize)) {
            break;
        }
        const uint64_t body = pos + 8;
        if (!haveFmt && std::memcmp(id, "fmt ", 4) == 0) {
            haveFmt = true;
            fmtAt = body;
            fmtSize = chunkSize;
        } else if (!haveData && std::memcmp(id, "data", 4) == 0) {
            haveData = true;
            dataAt = body;
            dataSize = chunkSize;
        }
        // Chunks are padded to an even length.
        pos = body + chunkSize + (chunkSize & 1u);
    }
    if (!haveFmt || !haveData || fmtSize < 16 || fmtSize > end - fmtAt || dataSize > end - dataAt) return 1;

    uint8_t fmt[16];
    if (std::fseek(f, static_cast<long>(fmtAt), SEEK_SET) != 0 || std::fread(fmt, 1, 16, f) != 16) return 1;
    uint16_t extra = 0;
    if ((fmt[0] | (fmt[1] << 8)) != 1) {
        uint8_t n[2];
        if (fmtSize < 18 || std::fread(n, 1, 2, f) != 2) return 1;
        extra = static_cast<uint16_t>(n[0] | (n[1] << 8));
        if (extra > fmtSize - 18) return 1;
    }
    auto* h = static_cast<uint8_t*>(std::malloc(18u + extra));
    if (h == nullptr) return 1;
    std::memcpy(h, fmt, 16);
    h[16] = static_cast<uint8_t>(extra);
    h[17] = static_cast<uint8_t>(extra >> 8);
    if (extra > 0 && std::fread(h + 18, 1, extra, f) != extra) {
        std::free(h);
        return 1;
    }
    auto* d = static_cast<uint8_t*>(std::malloc(dataSize > 0 ? dataSize : 1));
    if (d == nullptr || std::fseek(f, static_cast<long>(dataAt), SEEK_SET) != 0 ||
        std::fread(d, 1, dataSize, f) != dataSize) {
        std::free(h);
        std::free(d);
        return 1;
    }
    *head = reinterpret_cast<WAVEFORMATEX*>(h);
    *headSize = 18u + extra;
    *data = d;
    *size = dataSize;
    return 0;
}

bool FindPackEntry(FILE* f, const std::string& upperName, PackEntry* entry) {
    const long length = StreamLength(f);
    if (length < 0) return false;
    const uint64_t end = static_cast<uint64_t>(length);
    std::string name;
    for (;;) {
        uint32_t size = 0;
        uint32_t headSize = 0;
        if (!Read32(f, &size)) return false;
        name.clear();
        for (;;) {
            const int c = std::fgetc(f);
            if (c == EOF) return false;
            if (c == 0) break;
            if (name.size() == kMaxPackName) return false;  // not a pack: no name ends here
            name.push_back(static_cast<char>(c));
        }
        if (!Read32(f, &headSize)) return false;
        const long here = std::ftell(f);
        if (here < 0) return false;
        const uint64_t at = static_cast<uint64_t>(here);
        const uint64_t next = at + headSize + size;
        if (name == upperName) {
            if (headSize < 16 || headSize > kMaxHead || next > end) return false;
            entry->size = size;
            entry->headSize = headSize;
            entry->headOffset = here;
            return true;
        }
        if (next > end || std::fseek(f, static_cast<long>(next), SEEK_SET) != 0) return false;
    }
}

bool ReadPackHead(FILE* f, const PackEntry& entry, WAVEFORMATEX** head, unsigned long* headSize) {
    const uint32_t stored = entry.headSize;
    const uint32_t length = stored < 18 ? 18 : stored;
    auto* h = static_cast<uint8_t*>(std::calloc(1, length));
    if (h == nullptr) return false;
    if (std::fseek(f, entry.headOffset, SEEK_SET) != 0 || std::fread(h, 1, stored, f) != stored) {
        std::free(h);
        return false;
    }
    *head = reinterpret_cast<WAVEFORMATEX*>(h);
    *headSize = length;
    return true;
}

}  // namespace kasound
