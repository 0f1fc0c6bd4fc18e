// kaSound: the table of 70 sounds with up to 10 mix buffers each, WAV files
// and sound packs, pitch/pan/volume and echoes, streaming.
#pragma once

#include <cstdint>

namespace plat {
struct AudioDevice;
class SoundBuffer;
}  // namespace plat

// The format record handed between the WAV reader, the pack files and buffer
// creation: the 18 bytes below, followed by `cbSize` extra bytes.
#pragma pack(push, 2)
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "the format record is 18 bytes");

// The streaming record of one slot; positions in bytes.
struct _soundstream {
    unsigned long StartPos;    // pack offset of the entry's first sample byte
    unsigned long LoopPos;     // pack offset where looping resumes
    unsigned long SeekPos;     // pack offset of the next read
    unsigned long DataSize;    // sample bytes of the entry; non-zero = streamed slot
    unsigned long ReadData;    // sample bytes consumed so far
    unsigned long WriteCheck;  // ring offset of the most recent piece (refill trigger)
    unsigned long NextWrite;   // ring offset of the next piece
    unsigned long WriteSize;   // normal piece: 2 seconds
    unsigned long WriteMax;    // ring: 4 seconds
    unsigned long PlayPos;     // cursor to wait for after the writes wrapped; kNoPlayPos = none
    unsigned long LastPos;     // cursor at the last refill
    unsigned char NextStop;    // end countdown: 0 running, 2 data ended, 1 silence written
    char PackName[256];        // the pack file the entry came from
};

// The sound device and its buffers (none while closed). The primary buffer
// is the device's output.
extern plat::AudioDevice* DSObject;
extern plat::AudioDevice* DSBuff1;
extern plat::SoundBuffer* DSBuff2[70][10];

class kaSound {
public:
    static constexpr int kSlots = 70;
    static constexpr int kMaxMix = 10;
    static constexpr unsigned long kNoPlayPos = 0xFFFFFFFFul;

    // ---- The table ----------------------------------------------------------
    static int Ok;
    static int Reload;
    static int ListNo;
    static int ListUse[70];
    static int ListMix[70];
    static int ListUseMix[70];
    static char ListName[70][31];
    static int ListPack[70];
    static int ListLoop[70];
    static long ListVolume[70][10];
    static unsigned long ListPitch[70][10];
    static unsigned long ListPitchDef[70];
    static long ListPan[70][10];
    static unsigned long ListPosition[70][10];
    static int ListEffectCount[70];
    static float ListEffectTime[70];
    static float ListEffectPos[70];
    static int ListEffectDir[70];
    static int ListEffectLoop[70];
    static char PackFileName[256];
    static _soundstream SoundStream[70];

    // ---- Device, table and playback ------------------------------------------
    static int Init();
    static void DestroyObject();
    // Puts all 70 slots into the free state (display set-up does this
    // right after Init).
    static void ResetTable();
    static int LoadObject(const char* FileName, int Mix);
    static void ReloadObject();
    static void FreeObject(int ObjDS);
    static void Play(int ObjDS, int Mix);
    static void Loop(int ObjDS, int Mix);
    static void Stop(int ObjDS, int Mix);
    static void Pause(int ObjDS, int Mix);
    static void Beep();
    static void PlayFile(const char* FileName);
    static unsigned long GetPos(int ObjDS);

    // ---- WAV files and sound packs -------------------------------------------
    // Reads a RIFF/WAVE file: 0 = read (the caller frees both blocks with
    // free()), 1 = refused (all outputs empty).
    static int SearchFile(const char* FileName, WAVEFORMATEX** ppwfxInfo, unsigned long* cbHead,
                          uint8_t** ppbData, unsigned long* cbSize);
    static void SetPack(const char* PackName);
    static int LoadPack(const char* FileName, int Mix);
    static int Convert(const char* PackName, const char* WaveDir, int Delete);
    static void ConvertFile(const char* PackName, const char* WaveName);
    static int SelectFormat(int Channel, int Rate, int Bit);

    // ---- Streaming ------------------------------------------------------------
    static int LoadStream(const char* FileName, unsigned long LoopPoint);
    static int Streaming();
    static int ResetStream(int ObjDS);

    // ---- Pitch, pan, volume and echo -------------------------------------------
    static void Pitch(int ObjDS, int Value, int Mix);
    static void SetPitch(int ObjDS, int Value, int Mix);
    static void InitPitch(int ObjDS, int Mix);
    static void Pan(int ObjDS, int Value, int Mix);
    static void SetPan(int ObjDS, int Value, int Mix);
    static void InitPan(int ObjDS, int Mix);
    static void LeftPan(int ObjDS, int Mix);
    static void RightPan(int ObjDS, int Mix);
    static void Volume(int ObjDS, int Value, int Mix);
    static void SetVolume(int ObjDS, int Value, int Mix);
    static void InitVolume(int ObjDS, int Mix);
    static void Delay(int ObjDS, int Time, int Count, int Volume);
    static void Chorus(int ObjDS, int Time, int Count, int Volume, int Speed);
};
