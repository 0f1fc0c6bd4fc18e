// The sound table and its playback: the device, loading a WAV file (or a
// built-in WAVE resource) into a slot of identical mix buffers, round-robin
// play and loop, stop, pause/resume, freeing and rebuilding the table, the
// error beep and the synchronous player.
//
// Calls on slots the table does not hold (numbers outside 0..69, free slots,
// slots loaded with no mix buffer, mix numbers at or above the slot's count)
// do nothing: the table has no buffer there to act on.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Resources.h"
#include "sound/SoundInternal.h"

plat::AudioDevice* DSObject = nullptr;
plat::AudioDevice* DSBuff1 = nullptr;
plat::SoundBuffer* DSBuff2[70][10];

int kaSound::Ok = 0;
int kaSound::Reload = 0;
int kaSound::ListNo = 0;
int kaSound::ListUse[70];
int kaSound::ListMix[70];
int kaSound::ListUseMix[70];
char kaSound::ListName[70][31];
int kaSound::ListPack[70];
int kaSound::ListLoop[70];
long kaSound::ListVolume[70][10];
unsigned long kaSound::ListPitch[70][10];
unsigned long kaSound::ListPitchDef[70];
long kaSound::ListPan[70][10];
unsigned long kaSound::ListPosition[70][10];
int kaSound::ListEffectCount[70];
float kaSound::ListEffectTime[70];
float kaSound::ListEffectPos[70];
int kaSound::ListEffectDir[70];
int kaSound::ListEffectLoop[70];
char kaSound::PackFileName[256];
_soundstream kaSound::SoundStream[70];

namespace {

plat::SoundBuffer* gBeep = nullptr;

// Releases every buffer and the device; the table itself is kept.
void ReleaseDevice() {
    for (int s = 0; s < kaSound::kSlots; ++s) kasound::ReleaseSlotBuffers(s);
    plat::ReleaseSoundBuffer(gBeep);
    gBeep = nullptr;
    plat::CloseAudioDevice(DSObject);
    DSObject = nullptr;
    DSBuff1 = nullptr;
}

// What freeing a slot and resetting the table both clear: name, pack mark,
// stream, own rate and every mix buffer's volume, pitch and pan.
void ClearSlot(int s) {
    kaSound::ListPitchDef[s] = 0;
    kaSound::ListName[s][0] = '\0';
    kaSound::ListPack[s] = 0;
    kaSound::SoundStream[s].DataSize = 0;
    for (int m = 0; m < kaSound::kMaxMix; ++m) {
        kaSound::ListVolume[s][m] = 0;
        kaSound::ListPitch[s][m] = 0;
        kaSound::ListPan[s][m] = 0;
    }
}

bool Streamed(int s) { return kaSound::SoundStream[s].DataSize != 0; }

// Stops a mix buffer, rewinds it and starts it again (streams refill their
// first half and always run their ring looping).
void Restart(int s, int m, bool loop) {
    plat::SoundBuffer* b = DSBuff2[s][m];
    plat::StopSoundBuffer(b);
    if (Streamed(s)) {
        if (loop) {
            kaSound::ResetStream(s);
            plat::SetSoundPosition(b, 0);
        } else {
            plat::SetSoundPosition(b, 0);
            kaSound::ResetStream(s);
        }
        plat::PlaySoundBuffer(b, true);
    } else {
        plat::SetSoundPosition(b, 0);
        plat::PlaySoundBuffer(b, loop);
    }
}

void Start(int s, int Mix, bool loop) {
    if (!kaSound::Ok || !kasound::SlotInUse(s) || kaSound::ListMix[s] < 1) return;
    if (Mix >= 0) {
        if (Mix >= kaSound::ListMix[s]) return;
        Restart(s, Mix, loop);
    } else {
        int m = kaSound::ListUseMix[s];
        if (m < 0 || m >= kaSound::ListMix[s]) m = 0;
        if (Mix == -2 && kaSound::ListEffectCount[s] >= 0) {
            kaSound::InitPitch(s, -1);
            kaSound::InitPan(s, -1);
            kaSound::InitVolume(s, -1);
            kaSound::ListEffectCount[s] = 1;
            kaSound::ListEffectTime[s] = 0.0f;
            kaSound::ListEffectLoop[s] = loop ? 1 : 0;
            kaSound::ListEffectPos[s] = static_cast<float>(kaSound::ListPan[s][m]) / 100.0f;
            kaSound::ListEffectDir[s] = (std::rand() & 1) * 2 - 1;
        }
        Restart(s, m, loop);
        kaSound::ListUseMix[s] = m + 1 >= kaSound::ListMix[s] ? 0 : m + 1;
    }
    kaSound::ListLoop[s] = loop ? 1 : 0;
}

// A built-in resource is a WAV image with the canonical 44-byte header.
bool FromResource(const char* name, WAVEFORMATEX** head, unsigned long* headSize, uint8_t** data,
                  unsigned long* size) {
    const plat::ResourceEntry* r = plat::FindResource(name, "WAVE");
    if (r == nullptr) r = plat::FindResource(name, "RCDATA");
    if (r == nullptr || r->data == nullptr || r->size < 44) return false;
    auto* h = static_cast<WAVEFORMATEX*>(std::calloc(1, sizeof(WAVEFORMATEX)));
    if (h == nullptr) return false;
    std::memcpy(h, r->data + 20, 16);
    uint32_t count = 0;
    std::memcpy(&count, r->data + 40, 4);
    // A count that claims more than the resource holds is cut to what is there.
    if (count > r->size - 44) count = static_cast<uint32_t>(r->size - 44);
    auto* d = static_cast<uint8_t*>(std::malloc(count > 0 ? count : 1));
    if (d == nullptr) {
        std::free(h);
        return false;
    }
    std::memcpy(d, r->data + 44, count);
    *head = h;
    *headSize = sizeof(WAVEFORMATEX);
    *data = d;
    *size = count;
    return true;
}

// 0.12 s of 880 Hz with soft edges, 16-bit mono at 22050 Hz.
plat::SoundBuffer* MakeBeep() {
    constexpr uint32_t kRate = 22050;
    constexpr uint32_t kFrames = kRate * 12 / 100;
    plat::PcmFormat f;
    f.channels = 1;
    f.samplesPerSec = kRate;
    f.blockAlign = 2;
    f.avgBytesPerSec = kRate * 2;
    plat::SoundBuffer* b = plat::CreateSoundBuffer(DSObject, f, kFrames * 2);
    if (b == nullptr) return nullptr;
    std::vector<int16_t> tone(kFrames);
    for (uint32_t i = 0; i < kFrames; ++i) {
        const uint32_t edge = std::min(i, kFrames - 1 - i);
        const float fade = edge < 400 ? edge / 400.0f : 1.0f;
        // A square-ish wave from two harmonics: audible on small speakers.
        const float phase = 2.0f * 3.14159265f * 880.0f * static_cast<float>(i) / kRate;
        const float v = std::sin(phase) + std::sin(3.0f * phase) / 3.0f;
        tone[i] = static_cast<int16_t>(v * 7000.0f * fade);
    }
    kasound::WriteBuffer(b, 0, reinterpret_cast<const uint8_t*>(tone.data()), kFrames * 2);
    return b;
}

}  // namespace

// ---- Device -----------------------------------------------------------------

int kaSound::Init() {
    // A device left open (Init twice, or a rebuild without DestroyObject) is
    // released first, so that neither it nor its buffers are lost.
    if (DSObject != nullptr) ReleaseDevice();
    DSObject = plat::OpenAudioDevice();
    if (DSObject == nullptr) {
        Ok = 0;
        return 0;
    }
    DSBuff1 = DSObject;
    std::memset(DSBuff2, 0, sizeof DSBuff2);
    Reload = 0;
    Ok = 1;
    return 1;
}

void kaSound::DestroyObject() {
    for (int s = 0; s < kSlots; ++s) {
        for (int m = 0; m < kMaxMix; ++m) plat::StopSoundBuffer(DSBuff2[s][m]);
    }
    ReleaseDevice();
}

void kaSound::ResetTable() {
    for (int s = 0; s < kSlots; ++s) {
        kasound::ReleaseSlotBuffers(s);
        ListUse[s] = 0;
        ListMix[s] = 1;
        ListUseMix[s] = 0;
        ListEffectCount[s] = -1;
        ClearSlot(s);
    }
}

// ---- Loading ------------------------------------------------------------------

int kaSound::LoadObject(const char* FileName, int Mix) {
    static const char* const kFunction = "kaSound::LoadObject";
    if (!kasound::BeginLoad(kFunction, FileName, Mix, "ファイル名またはリソース名が長すぎます")) return -1;
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* data = nullptr;
    unsigned long size = 0;
    const std::string path = kasound::ProgramPath(FileName);
    if (SearchFile(path.c_str(), &head, &headSize, &data, &size) != 0 &&
        !FromResource(FileName, &head, &headSize, &data, &size)) {
        // The box does not name the file; the terminal gets the path looked at.
        const std::string resolved = plat::ResolvePath(path);
        FILE* probe = std::fopen(resolved.c_str(), "rb");
        std::fprintf(stderr, "%s: %s: %s\n", kFunction, resolved.c_str(),
                     probe != nullptr ? "not a WAV file that can be read" : "no such file");
        if (probe != nullptr) std::fclose(probe);
        kasound::Report(kFunction, "WAVEリソースが見つかりません");
        return -1;
    }
    const bool filled = kasound::FillSlot(kFunction, head, headSize, data, size, Mix);
    std::free(head);
    std::free(data);
    if (!filled) return -1;
    ListPack[ListNo] = 0;
    kasound::KeepName(ListNo, FileName);
    return ListNo;
}

void kaSound::FreeObject(int ObjDS) {
    if (!kasound::SlotInUse(ObjDS)) return;
    ListUse[ObjDS] = 0;
    ClearSlot(ObjDS);
    kasound::ReleaseSlotBuffers(ObjDS);
    ListMix[ObjDS] = 1;
}

void kaSound::ReloadObject() {
    Init();
    kasound::RebuildTable();
}

void kasound::RebuildTable() {
    // Each pack sound is rebuilt from the pack it was loaded from; the pack
    // the application chose last is restored afterwards.
    char chosenPack[sizeof kaSound::PackFileName];
    std::memcpy(chosenPack, kaSound::PackFileName, sizeof chosenPack);
    kaSound::Reload = 1;
    for (kaSound::ListNo = 0; kaSound::ListNo < kaSound::kSlots; ++kaSound::ListNo) {
        const int s = kaSound::ListNo;
        if (!kaSound::ListUse[s]) continue;
        _soundstream& stream = kaSound::SoundStream[s];
        if (stream.DataSize != 0) {
            std::memcpy(kaSound::PackFileName, stream.PackName, sizeof kaSound::PackFileName);
            kaSound::LoadStream(kaSound::ListName[s], stream.LoopPos - stream.StartPos);
        } else if (kaSound::ListPack[s]) {
            std::memcpy(kaSound::PackFileName, stream.PackName, sizeof kaSound::PackFileName);
            kaSound::LoadPack(kaSound::ListName[s], kaSound::ListMix[s]);
        } else {
            kaSound::LoadObject(kaSound::ListName[s], kaSound::ListMix[s]);
        }
    }
    kaSound::Reload = 0;
    std::memcpy(kaSound::PackFileName, chosenPack, sizeof kaSound::PackFileName);
}

// ---- Playback -------------------------------------------------------------------

void kaSound::Play(int ObjDS, int Mix) { Start(ObjDS, Mix, false); }

void kaSound::Loop(int ObjDS, int Mix) { Start(ObjDS, Mix, true); }

void kaSound::Stop(int ObjDS, int Mix) {
    if (!Ok || !kasound::SlotInUse(ObjDS)) return;
    if (Mix >= 0) {
        plat::SoundBuffer* b = kasound::Buffer(ObjDS, Mix);
        plat::StopSoundBuffer(b);
        plat::SetSoundPosition(b, 0);
        return;
    }
    if (ListEffectCount[ObjDS] >= 0) ListEffectCount[ObjDS] = 0;
    for (int m = 0; m < ListMix[ObjDS]; ++m) {
        plat::StopSoundBuffer(DSBuff2[ObjDS][m]);
        plat::SetSoundPosition(DSBuff2[ObjDS][m], 0);
    }
}

void kaSound::Pause(int ObjDS, int Mix) {
    if (!Ok || !kasound::SlotInUse(ObjDS)) return;
    const int first = Mix >= 0 ? Mix : 0;
    const int last = Mix >= 0 ? Mix : ListMix[ObjDS] - 1;
    for (int m = first; m <= last; ++m) {
        plat::SoundBuffer* b = kasound::Buffer(ObjDS, m);
        if (b == nullptr) continue;
        if (plat::SoundBufferPlaying(b)) {
            ListPosition[ObjDS][m] = plat::GetSoundPosition(b);
            plat::StopSoundBuffer(b);
        } else {
            plat::SetSoundPosition(b, static_cast<uint32_t>(ListPosition[ObjDS][m]));
            plat::PlaySoundBuffer(b, ListLoop[ObjDS] == 1 || Streamed(ObjDS));
        }
    }
}

unsigned long kaSound::GetPos(int ObjDS) { return plat::GetSoundPosition(kasound::Buffer(ObjDS, 0)); }

void kaSound::Beep() {
    if (!Ok || DSObject == nullptr) return;
    if (gBeep == nullptr) gBeep = MakeBeep();
    plat::StopSoundBuffer(gBeep);
    plat::SetSoundPosition(gBeep, 0);
    plat::PlaySoundBuffer(gBeep, false);
}

void kaSound::PlayFile(const char* FileName) {
    DestroyObject();
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* data = nullptr;
    unsigned long size = 0;
    if (FileName != nullptr && SearchFile(FileName, &head, &headSize, &data, &size) == 0) {
        // The file plays on a device of its own while the program waits.
        if (plat::AudioDevice* device = plat::OpenAudioDevice()) {
            const plat::PcmFormat format = kasound::ToPcm(head, headSize);
            plat::SoundBuffer* b = plat::CreateSoundBuffer(device, format, static_cast<uint32_t>(size));
            if (b != nullptr && kasound::WriteBuffer(b, 0, data, static_cast<uint32_t>(size))) {
                const uint64_t frames = size / (format.channels * (format.bitsPerSample / 8u));
                const uint32_t lengthMs = static_cast<uint32_t>(frames * 1000 / format.samplesPerSec);
                const uint32_t deadline = plat::TimeGetTime() + lengthMs + 1000;
                plat::PlaySoundBuffer(b, false);
                while (plat::SoundBufferPlaying(b) && static_cast<int32_t>(deadline - plat::TimeGetTime()) > 0) {
                    plat::SleepUntil(plat::TimeGetTime() + 10);
                }
            }
            plat::ReleaseSoundBuffer(b);
            plat::CloseAudioDevice(device);
        }
    }
    std::free(head);
    std::free(data);
    ReloadObject();
}
