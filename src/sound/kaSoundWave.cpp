// Sound data on disk as the table sees it: SearchFile, the sound pack file
// (entries end to end: size, NUL-terminated upper-case name, format record
// length, format record, samples), its builder and loader, and the change of
// the output format with its rebuild of the table. The parsers themselves
// are in SoundFiles.cpp.
#include <cstdlib>
#include <cstring>

#include "platform/AudioFiles.h"
#include "platform/Files.h"
#include "sound/SoundInternal.h"

namespace {

bool Write32(FILE* f, uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    return std::fwrite(b, 1, 4, f) == 4;
}

}  // namespace

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
    // A path that does not fit names no pack at all (the loaders then say
    // so), rather than a shorter path that may be some other file.
    const std::string path = kasound::ProgramPath(PackName);
    if (path.size() >= sizeof PackFileName)
        PackFileName[0] = '\0';
    else
        std::memcpy(PackFileName, path.c_str(), path.size() + 1);
}

FILE* kasound::OpenPackEntry(const char* function, const char* path, const char* name, PackEntry* entry,
                             WAVEFORMATEX** head, unsigned long* headSize) {
    FILE* f = path[0] != '\0' ? plat::OpenFile(path, "rb") : nullptr;
    if (f == nullptr) {
        Report(function, "パックファイル名が指定されていません");
        return nullptr;
    }
    if (!FindPackEntry(f, UpperAscii(name), entry) || !ReadPackHead(f, *entry, head, headSize)) {
        std::fclose(f);
        Report(function, "WAVEファイルを読み込めません");
        return nullptr;
    }
    return f;
}

int kaSound::LoadPack(const char* FileName, int Mix) {
    static const char* const kFunction = "kaSound::LoadPack";
    if (!kasound::BeginLoad(kFunction, FileName, Mix, "ファイル名が長すぎます")) return -1;
    kasound::PackEntry entry;
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    FILE* f = kasound::OpenPackEntry(kFunction, PackFileName, FileName, &entry, &head, &headSize);
    if (f == nullptr) return -1;
    auto* data = static_cast<uint8_t*>(std::malloc(entry.size > 0 ? entry.size : 1));
    const bool read = data != nullptr && std::fread(data, 1, entry.size, f) == entry.size;
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
    kasound::KeepName(ListNo, FileName);
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
            Write32(f, static_cast<uint32_t>(size));
            std::fwrite(base.c_str(), 1, base.size() + 1, f);
            Write32(f, static_cast<uint32_t>(headSize));
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
