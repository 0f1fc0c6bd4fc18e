// Shared helpers of kaSound: safe slot and buffer lookup, the loaders'
// common checks, reports, paths, format records and filling a slot's mix
// buffers.
#include "sound/SoundInternal.h"

#include <cstdlib>
#include <cstring>

#include "draw/kaDraw.h"
#include "shell/kaSystem.h"

namespace kasound {

bool SlotInUse(int slot) { return slot >= 0 && slot < kaSound::kSlots && kaSound::ListUse[slot] != 0; }

plat::SoundBuffer* Buffer(int slot, int mix) {
    if (!SlotInUse(slot) || mix < 0 || mix >= kaSound::ListMix[slot] || mix >= kaSound::kMaxMix) return nullptr;
    return DSBuff2[slot][mix];
}

int FreeSlot() {
    for (int s = 0; s < kaSound::kSlots; ++s) {
        if (!kaSound::ListUse[s]) return s;
    }
    return -1;
}

void Report(const char* function, const char* message, long code) { kaDraw::Error(function, message, code); }

bool BeginLoad(const char* function, const char*& name, std::optional<int> mix, const char* tooLong) {
    if (!kaSound::Ok) return false;
    if (name == nullptr) name = "";
    if (mix && (*mix < -kaSound::kMaxMix || *mix > kaSound::kMaxMix)) {
        Report(function, "ミックス数が多過ぎます");
        return false;
    }
    if (!kaSound::Reload) {
        const int slot = FreeSlot();
        if (slot < 0) {
            Report(function, "オブジェクト数が多過ぎます");
            return false;
        }
        kaSound::ListNo = slot;
        if (std::strlen(name) > 30) {
            Report(function, tooLong);
            return false;
        }
        return true;
    }
    return kaSound::ListNo >= 0 && kaSound::ListNo < kaSound::kSlots;
}

void KeepName(int slot, const char* name) {
    if (kaSound::Reload) return;
    std::strncpy(kaSound::ListName[slot], name, 30);
    kaSound::ListName[slot][30] = '\0';
}

std::string ProgramPath(const char* name) {
    const char* dir = kaSystem::Directory(0);
    return std::string(dir != nullptr ? dir : "") + (name != nullptr ? name : "");
}

std::string UpperAscii(const char* text) {
    std::string s = text != nullptr ? text : "";
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

void ReleaseSlotBuffers(int slot) {
    if (slot < 0 || slot >= kaSound::kSlots) return;
    for (int m = 0; m < kaSound::kMaxMix; ++m) {
        plat::StopSoundBuffer(DSBuff2[slot][m]);
        plat::ReleaseSoundBuffer(DSBuff2[slot][m]);
        DSBuff2[slot][m] = nullptr;
    }
}

void SetUpMixBuffer(int slot, int m, plat::SoundBuffer* buffer) {
    DSBuff2[slot][m] = buffer;
    if (!kaSound::Reload) {
        kaSound::ListPitch[slot][m] = plat::GetSoundFrequency(buffer);
        kaSound::ListPitchDef[slot] = kaSound::ListPitch[slot][m];
        kaSound::ListVolume[slot][m] = 0;
        kaSound::ListPan[slot][m] = 0;
    } else {
        plat::SetSoundVolume(buffer, kaSound::ListVolume[slot][m]);
        plat::SetSoundFrequency(buffer, static_cast<uint32_t>(kaSound::ListPitch[slot][m]));
        plat::SetSoundPan(buffer, kaSound::ListPan[slot][m]);
    }
}

bool WriteBuffer(plat::SoundBuffer* buffer, uint32_t offset, const uint8_t* data, uint32_t size, uint8_t fill) {
    if (size == 0) return true;
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0;
    uint32_t n2 = 0;
    if (plat::LockSoundBuffer(buffer, offset, size, &p1, &n1, &p2, &n2) != plat::kOk) return false;
    if (data != nullptr) {
        std::memcpy(p1, data, n1);
        if (p2 != nullptr) std::memcpy(p2, data + n1, n2);
    } else {
        std::memset(p1, fill, n1);
        if (p2 != nullptr) std::memset(p2, fill, n2);
    }
    plat::UnlockSoundBuffer(buffer);
    return true;
}

bool FillSlot(const char* function, const WAVEFORMATEX* head, unsigned long headSize, const uint8_t* data,
              unsigned long size, int Mix) {
    const int slot = kaSound::ListNo;
    const int count = Mix < 0 ? -Mix : Mix;
    kaSound::ListMix[slot] = count;
    kaSound::ListEffectCount[slot] = Mix > 1 ? 0 : -1;
    if (!kaSound::Reload) kaSound::ListUseMix[slot] = 0;
    const plat::PcmFormat format = ToPcm(head, headSize);
    ReleaseSlotBuffers(slot);
    for (int m = 0; m < count; ++m) {
        plat::Result why = plat::kOk;
        plat::SoundBuffer* b = size <= 0xFFFFFFFFul
                                   ? plat::CreateSoundBuffer(DSObject, format, static_cast<uint32_t>(size), &why)
                                   : nullptr;
        if (b == nullptr) {
            Report(function, "サウンドバッファが生成できません", static_cast<long>(why));
            // Nothing half-made stays behind: the slot keeps no buffer.
            ReleaseSlotBuffers(slot);
            if (!kaSound::Reload) kaSound::ListMix[slot] = 1;
            return false;
        }
        WriteBuffer(b, 0, data, static_cast<uint32_t>(size));
        SetUpMixBuffer(slot, m, b);
    }
    kaSound::ListUse[slot] = 1;
    kaSound::SoundStream[slot].DataSize = 0;
    return true;
}

}  // namespace kasound
