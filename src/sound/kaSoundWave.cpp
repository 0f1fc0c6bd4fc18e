// Reading sound data from disk: the RIFF/WAVE reader, the sound pack file
// (entries end to end: size, NUL-terminated upper-case name, format record
// length, format record, samples), its builder and loader, and the change of
// the output format with its rebuild of the table.
//
// Every size read from a file is checked against what the file really holds
// before memory is allocated or a read is attempted.
#include <cstdlib>
#include <cstring>

#include "platform/AudioFiles.h"
#include "platform/Files.h"
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

bool Write32(FILE* f, uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    return std::fwrite(b, 1, 4, f) == 4;
}

// Length of the stream, or -1.
long StreamLength(FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

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

int kaSound::SearchFile(const char* FileName, WAVEFORMATEX** ppwfxInfo, unsigned long* cbHead, uint8_t** ppbData,
                        unsigned long* cbSize) {
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* data = nullptr;
    unsigned long size = 0;
    int result = 1;
    if (FileName != nullptr && *FileName != '\0') {
        if (FILE* f = plat::OpenFile(FileName, "rb")) {
            result = kasound::ReadWave(f, &head, &headSize, &data, &size);
            std::fclose(f);
        }
    }
    if (ppwfxInfo != nullptr) *ppwfxInfo = head; else std::free(head);
    if (ppbData != nullptr) *ppbData = data; else std::free(data);
    if (cbHead != nullptr) *cbHead = headSize;
    if (cbSize != nullptr) *cbSize = size;
    return result;
}

void kaSound::SetPack(const char* PackName) {
    const std::string path = kasound::ProgramPath(PackName);
    std::strncpy(PackFileName, path.c_str(), sizeof PackFileName - 1);
    PackFileName[sizeof PackFileName - 1] = '\0';
}

int kaSound::LoadPack(const char* FileName, int Mix) {
    static const char* const kFunction = "kaSound::LoadPack";
    if (!Ok) return -1;
    if (FileName == nullptr) FileName = "";
    if (Mix < -kMaxMix || Mix > kMaxMix) {
        kasound::Report(kFunction, "ミックス数が多過ぎます");
        return -1;
    }
    if (!Reload) {
        const int slot = kasound::FreeSlot();
        if (slot < 0) {
            kasound::Report(kFunction, "オブジェクト数が多過ぎます");
            return -1;
        }
        ListNo = slot;
        if (std::strlen(FileName) > 30) {
            kasound::Report(kFunction, "ファイル名が長すぎます");
            return -1;
        }
    } else if (ListNo < 0 || ListNo >= kSlots) {
        return -1;
    }
    FILE* f = PackFileName[0] != '\0' ? plat::OpenFile(PackFileName, "rb") : nullptr;
    if (f == nullptr) {
        kasound::Report(kFunction, "パックファイル名が指定されていません");
        return -1;
    }
    kasound::PackEntry entry;
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* data = nullptr;
    bool read = kasound::FindPackEntry(f, kasound::UpperAscii(FileName), &entry) &&
                kasound::ReadPackHead(f, entry, &head, &headSize);
    if (read) {
        data = static_cast<uint8_t*>(std::malloc(entry.size > 0 ? entry.size : 1));
        read = data != nullptr && std::fread(data, 1, entry.size, f) == entry.size;
    }
    std::fclose(f);
    if (!read) {
        std::free(head);
        std::free(data);
        kasound::Report(kFunction, "WAVEファイルを読み込めません");
        return -1;
    }
    const bool filled = kasound::FillSlot(kFunction, head, headSize, data, entry.size, Mix);
    std::free(head);
    std::free(data);
    if (!filled) return -1;
    ListPack[ListNo] = 1;
    std::memcpy(SoundStream[ListNo].PackName, PackFileName, sizeof PackFileName);
    if (!Reload) {
        std::strncpy(ListName[ListNo], FileName, 30);
        ListName[ListNo][30] = '\0';
    }
    return ListNo;
}

int kaSound::Convert(const char* PackName, const char* WaveDir, int Delete) {
    if (Delete) std::remove(plat::ResolvePath(kasound::ProgramPath(PackName)).c_str());
    const std::string dir = WaveDir != nullptr ? WaveDir : "";
    for (const std::string& found : plat::FindFiles(kasound::ProgramPath(dir.c_str()), ".WAV")) {
        const std::string name = dir.empty() ? found : dir + "\\" + found;
        ConvertFile(PackName, kasound::UpperAscii(name.c_str()).c_str());
    }
    return 1;
}

void kaSound::ConvertFile(const char* PackName, const char* WaveName) {
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* data = nullptr;
    unsigned long size = 0;
    // A file the reader refuses is left out of the pack: an entry without a
    // format would only fail later, at load time.
    if (SearchFile(kasound::ProgramPath(WaveName).c_str(), &head, &headSize, &data, &size) != 0) return;
    // Entries are named by the base name in upper case, which is what the
    // loaders look for.
    const std::string path = WaveName != nullptr ? WaveName : "";
    const size_t cut = path.find_last_of("\\/");
    const std::string base = kasound::UpperAscii(cut == std::string::npos ? path.c_str() : path.c_str() + cut + 1);
    if (!base.empty() && base.size() <= 127) {
        if (FILE* f = plat::OpenFile(kasound::ProgramPath(PackName), "ab")) {
            kasound::Write32(f, static_cast<uint32_t>(size));
            std::fwrite(base.c_str(), 1, base.size() + 1, f);
            kasound::Write32(f, static_cast<uint32_t>(headSize));
            std::fwrite(head, 1, headSize, f);
            std::fwrite(data, 1, size, f);
            std::fclose(f);
        }
    }
    std::free(head);
    std::free(data);
}

int kaSound::SelectFormat(int Channel, int Rate, int Bit) {
    if (!Ok) return 1;
    for (int s = 0; s < kSlots; ++s) kasound::ReleaseSlotBuffers(s);
    switch (Rate) {
    case 8: Rate = 8000; break;
    case 11: Rate = 11025; break;
    case 22: Rate = 22050; break;
    case 44: Rate = 44100; break;
    default: break;
    }
    plat::Result result = plat::kErrBadFormat;
    if (Channel >= 1 && Channel <= 2 && (Bit == 8 || Bit == 16) && Rate > 0) {
        plat::PcmFormat format;
        format.channels = static_cast<uint16_t>(Channel);
        format.samplesPerSec = static_cast<uint32_t>(Rate);
        format.bitsPerSample = static_cast<uint16_t>(Bit);
        format.blockAlign = static_cast<uint16_t>(Channel * (Bit / 8));
        format.avgBytesPerSec = format.samplesPerSec * format.blockAlign;
        result = plat::SetOutputFormat(DSBuff1, format);
    }
    if (result != plat::kOk) {
        kasound::Report("kaSound::SelectFormat", "再生フォーマットを変更できません", static_cast<long>(result));
        return 0;
    }
    kasound::RebuildTable();
    return 1;
}
