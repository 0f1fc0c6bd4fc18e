// Streaming long pack entries: a slot whose single buffer is a ring of four
// seconds, refilled two seconds at a time from the pack file as the play
// cursor moves on; at the end of the data it jumps to the loop point or
// plays out through one silent piece and stops.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Files.h"
#include "sound/SoundInternal.h"

namespace {

// Opens a stream's pack file at `offset`; reports and returns nullptr on failure.
FILE* OpenAt(const _soundstream& st, unsigned long offset, const char* function) {
    FILE* f = plat::OpenFile(st.PackName, "rb");
    if (f == nullptr) {
        kasound::Report(function, "パックファイル名が指定されていません");
        return nullptr;
    }
    if (offset > 0x7FFFFFFFul || std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) {
        std::fclose(f);
        kasound::Report(function, "ストリーミング再生できません");
        return nullptr;
    }
    return f;
}

// Reads `n` bytes; a pack that has shrunk since loading yields silence for
// the missing part rather than stale ring contents.
void ReadPiece(FILE* f, std::vector<uint8_t>& piece, unsigned long n) {
    piece.assign(n, 0);
    const size_t got = std::fread(piece.data(), 1, n, f);
    (void)got;
}

// Rewinds a stream record and reads its first piece from `f`, which stands
// at the entry's first sample.
void ReadFirstPiece(FILE* f, _soundstream& st, std::vector<uint8_t>& piece) {
    st.WriteCheck = 0;
    st.NextWrite = st.WriteSize;
    ReadPiece(f, piece, st.WriteSize);
    st.SeekPos = st.StartPos + st.WriteSize;
    st.ReadData = st.WriteSize;
    st.PlayPos = kaSound::kNoPlayPos;
    st.LastPos = 0;
    st.NextStop = 0;
}

// The byte value of silence: 128 for 8-bit samples, 0 for 16-bit ones.
uint8_t Silence(const plat::SoundBuffer* b) { return plat::GetSoundFormat(b).bitsPerSample == 8 ? 0x80 : 0; }

}  // namespace

int kaSound::LoadStream(const char* FileName, unsigned long LoopPoint) {
    static const char* const kFunction = "kaSound::LoadStream";
    if (!kasound::BeginLoad(kFunction, FileName, std::nullopt, "ファイル名が長すぎます")) return -1;
    const int s = ListNo;
    _soundstream& st = SoundStream[s];
    std::memcpy(st.PackName, PackFileName, sizeof st.PackName);
    kasound::PackEntry entry;
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    FILE* f = kasound::OpenPackEntry(kFunction, st.PackName, FileName, &entry, &head, &headSize);
    if (f == nullptr) return -1;
    const plat::PcmFormat format = kasound::ToPcm(head, headSize);
    const unsigned long perSecond = format.avgBytesPerSec;
    if (perSecond == 0 || entry.size / perSecond < 5) {
        // Short sounds are held whole, as an ordinary one-buffer pack sound.
        std::fclose(f);
        std::free(head);
        st.DataSize = 0;
        return LoadPack(FileName, 1);
    }
    // Sizes in whole frames, so that every piece continues the one before it
    // on a frame boundary, also after a jump to the loop point.
    const unsigned long frameBytes = format.blockAlign > 0 ? format.blockAlign : 1;
    st.DataSize = entry.size - entry.size % frameBytes;
    st.WriteSize = 2 * perSecond - (2 * perSecond) % frameBytes;
    st.WriteMax = 2 * st.WriteSize;
    st.StartPos = static_cast<unsigned long>(std::ftell(f));
    // A loop point inside the data is kept (rounded down to a frame); one at
    // or past the end would leave nothing to loop, so the stream loops to its
    // start instead.
    if (LoopPoint >= st.DataSize) LoopPoint = 0;
    LoopPoint -= LoopPoint % frameBytes;
    st.LoopPos = st.StartPos + LoopPoint;
    std::vector<uint8_t> piece;
    ReadFirstPiece(f, st, piece);
    std::fclose(f);
    ListMix[s] = 1;
    ListEffectCount[s] = -1;
    if (!Reload) ListUseMix[s] = 0;

    kasound::ReleaseSlotBuffers(s);
    plat::Result why = plat::kOk;
    plat::SoundBuffer* b = st.WriteMax <= 0xFFFFFFFFul
                               ? plat::CreateSoundBuffer(DSObject, format, static_cast<uint32_t>(st.WriteMax), &why)
                               : nullptr;
    std::free(head);
    if (b == nullptr) {
        st.DataSize = 0;
        if (!Reload) ListMix[s] = 1;
        kasound::Report(kFunction, "サウンドバッファが生成できません", static_cast<long>(why));
        return -1;
    }
    kasound::WriteBuffer(b, 0, piece.data(), static_cast<uint32_t>(st.WriteSize));
    kasound::SetUpMixBuffer(s, 0, b);
    ListUse[s] = 1;
    ListPack[s] = 1;
    kasound::KeepName(s, FileName);
    return s;
}

int kaSound::ResetStream(int ObjDS) {
    static const char* const kFunction = "kaSound::ResetStream";
    if (!Ok || !kasound::SlotInUse(ObjDS) || SoundStream[ObjDS].DataSize == 0) return 0;
    _soundstream& st = SoundStream[ObjDS];
    FILE* f = OpenAt(st, st.StartPos, kFunction);
    if (f == nullptr) return 0;
    std::vector<uint8_t> piece;
    ReadFirstPiece(f, st, piece);
    std::fclose(f);
    kasound::WriteBuffer(DSBuff2[ObjDS][0], 0, piece.data(), static_cast<uint32_t>(st.WriteSize));
    return 1;
}

int kaSound::Streaming() {
    static const char* const kFunction = "kaSound::Streaming";
    if (!Ok) return 0;
    std::vector<uint8_t> piece;
    for (int s = 0; s < kSlots; ++s) {
        _soundstream& st = SoundStream[s];
        plat::SoundBuffer* b = DSBuff2[s][0];
        if (st.DataSize == 0 || !ListUse[s] || b == nullptr || !plat::SoundBufferPlaying(b)) continue;
        const unsigned long p = plat::GetSoundPosition(b);
        const unsigned long w = st.WriteCheck;
        const unsigned long pp = st.PlayPos;
        const bool due = pp == kNoPlayPos ? (p >= w || p < st.LastPos) : (w < pp ? (w <= p && p < pp) : p >= w);
        if (!due) continue;
        st.LastPos = p;
        if (st.NextStop > 0 && --st.NextStop == 0) {
            Stop(s, -1);
            continue;
        }
        FILE* f = OpenAt(st, st.SeekPos, kFunction);
        if (f == nullptr) return 0;
        unsigned long n = st.WriteSize;
        if (st.ReadData + n > st.DataSize) {
            n = st.DataSize - st.ReadData;
        } else if (st.DataSize - st.ReadData - n < n) {
            // The last two pieces share the rest, so that neither is tiny.
            n = (st.DataSize - st.ReadData) / 2;
        }
        ReadPiece(f, piece, n);
        st.SeekPos += n;
        std::fclose(f);
        st.ReadData += n;
        if (st.ReadData >= st.DataSize) {
            st.SeekPos = st.LoopPos;
            st.ReadData = st.LoopPos - st.StartPos;
            // Only the first arrival at the end starts the countdown: while the
            // silent piece is being written, a short loop region may end again,
            // and restarting the countdown then would never let the sound stop.
            if (ListLoop[s] == 0 && st.NextStop == 0) st.NextStop = 2;
        }
        kasound::WriteBuffer(b, static_cast<uint32_t>(st.NextWrite), st.NextStop == 1 ? nullptr : piece.data(),
                             static_cast<uint32_t>(n), Silence(b));
        st.PlayPos = st.NextWrite < w ? p : kNoPlayPos;
        st.WriteCheck = st.NextWrite;
        st.NextWrite += n;
        if (st.NextWrite >= st.WriteMax) st.NextWrite -= st.WriteMax;
    }
    return 1;
}
