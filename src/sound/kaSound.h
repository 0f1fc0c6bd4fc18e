// kaSound: the table of 70 sounds with up to 10 mix buffers each, WAV files
// and sound packs, pitch/pan/volume and echoes, streaming.
#pragma once

class kaSound {
public:
    static int Ok;
    static int Init();
    static void DestroyObject();
    // Puts all 70 slots into the free state (display set-up does this
    // right after Init).
    static void ResetTable();
    static int LoadObject(const char* FileName, int Mix);
    static void Play(int ObjDS, int Mix);
    static void Loop(int ObjDS, int Mix);
    static void Stop(int ObjDS, int Mix);
    static void Beep();
    static int Streaming();
};
