// Pitch, pan and volume of a slot's mix buffers, kept in the table so that a
// rebuild restores them, and the two echo effects built from the mix
// buffers: Delay (each repeat quieter) and Chorus (also swinging in pan).
#include <algorithm>

#include "shell/Globals.h"
#include "sound/SoundInternal.h"

namespace {

// Calls fn(m) for each mix buffer that `Mix` selects: one buffer, the next
// round-robin buffer (-2), or all of them (other negative values).
template <class F>
void ForEachSelected(int s, int Mix, F fn) {
    if (!kaSound::Ok || !kasound::SlotInUse(s)) return;
    const int count = std::min(kaSound::ListMix[s], kaSound::kMaxMix);
    if (Mix >= 0) {
        if (Mix < count) fn(Mix);
    } else if (Mix == -2) {
        const int m = kaSound::ListUseMix[s];
        if (m >= 0 && m < count) fn(m);
    } else {
        for (int m = 0; m < count; ++m) fn(m);
    }
}

void ApplyPitch(int s, int m, long long hz) {
    kaSound::ListPitch[s][m] = static_cast<unsigned long>(hz);
    plat::SetSoundFrequency(DSBuff2[s][m], static_cast<uint32_t>(hz));
}

void ApplyPan(int s, int m, long long pan) {
    kaSound::ListPan[s][m] = static_cast<long>(pan);
    plat::SetSoundPan(DSBuff2[s][m], static_cast<long>(pan));
}

void ApplyVolume(int s, int m, long long volume) {
    kaSound::ListVolume[s][m] = static_cast<long>(volume);
    plat::SetSoundVolume(DSBuff2[s][m], static_cast<long>(volume));
}

long long ClampPitch(long long hz) { return std::clamp(hz, 100LL, 100000LL); }
long long ClampPan(long long pan) { return std::clamp(pan, -10000LL, 10000LL); }
long long ClampVolume(long long volume) { return std::clamp(volume, -10000LL, 0LL); }

// One echo: the next mix buffer in turn, quieter by the echo's number.
void Echo(int s, int Volume) {
    const long long attenuation = static_cast<long long>(kaSound::ListEffectCount[s]) * Volume;
    kaSound::SetVolume(s, static_cast<int>(std::clamp(-attenuation, -1000000LL, 1000000LL)), -2);
    if (kaSound::ListEffectLoop[s] == 1) {
        kaSound::Loop(s, -3);
    } else {
        kaSound::Play(s, -3);
    }
}

void Advance(int s, int Count) {
    kaSound::ListEffectCount[s] += 1;
    if (kaSound::ListEffectCount[s] > Count) kaSound::ListEffectCount[s] = 0;
}

// Steps shared by Delay and Chorus: true when the next echo is due now.
bool EchoDue(int s, int Time, int Count) {
    if (!kaSound::Ok || !kasound::SlotInUse(s)) return false;
    if (kaSound::ListEffectCount[s] < 1 || Count < 1) return false;
    kaSound::ListEffectTime[s] += FrameTime * 1000.0f;
    if (kaSound::ListEffectTime[s] < static_cast<float>(Time)) return false;
    kaSound::ListEffectTime[s] = 0.0f;
    return true;
}

}  // namespace

void kaSound::Pitch(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) {
        ApplyPitch(ObjDS, m, ClampPitch(static_cast<long long>(ListPitch[ObjDS][m]) + Value * 100LL));
    });
}

void kaSound::SetPitch(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) {
        ApplyPitch(ObjDS, m, ClampPitch(static_cast<long long>(ListPitchDef[ObjDS]) + Value * 100LL));
    });
}

void kaSound::InitPitch(int ObjDS, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyPitch(ObjDS, m, static_cast<long long>(ListPitchDef[ObjDS])); });
}

void kaSound::Pan(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix,
                    [&](int m) { ApplyPan(ObjDS, m, ClampPan(ListPan[ObjDS][m] + Value * 100LL)); });
}

void kaSound::SetPan(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyPan(ObjDS, m, ClampPan(Value * 100LL)); });
}

void kaSound::InitPan(int ObjDS, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyPan(ObjDS, m, 0); });
}

void kaSound::LeftPan(int ObjDS, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyPan(ObjDS, m, -10000); });
}

void kaSound::RightPan(int ObjDS, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyPan(ObjDS, m, 10000); });
}

void kaSound::Volume(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix,
                    [&](int m) { ApplyVolume(ObjDS, m, ClampVolume(ListVolume[ObjDS][m] + Value * 100LL)); });
}

void kaSound::SetVolume(int ObjDS, int Value, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyVolume(ObjDS, m, ClampVolume(Value * 100LL)); });
}

void kaSound::InitVolume(int ObjDS, int Mix) {
    ForEachSelected(ObjDS, Mix, [&](int m) { ApplyVolume(ObjDS, m, 0); });
}

void kaSound::Delay(int ObjDS, int Time, int Count, int Volume) {
    if (!EchoDue(ObjDS, Time, Count)) return;
    Echo(ObjDS, Volume);
    Advance(ObjDS, Count);
}

void kaSound::Chorus(int ObjDS, int Time, int Count, int Volume, int Speed) {
    if (!EchoDue(ObjDS, Time, Count)) return;
    float& pos = ListEffectPos[ObjDS];
    pos += static_cast<float>(ListEffectDir[ObjDS]) * FrameTime * 100.0f * static_cast<float>(Speed);
    if (pos < -30.0f) {
        pos = -30.0f;
        ListEffectDir[ObjDS] = -ListEffectDir[ObjDS];
    }
    if (pos > 30.0f) {
        pos = 30.0f;
        ListEffectDir[ObjDS] = -ListEffectDir[ObjDS];
    }
    SetPan(ObjDS, static_cast<int>(pos), -2);
    Echo(ObjDS, Volume);
    Advance(ObjDS, Count);
}
