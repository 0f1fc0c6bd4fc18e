// kaMusic: one MIDI tune at a time through the sequencer's command strings;
// a tune loops through the main window, whose end-of-tune notice calls Replay.
#pragma once

class kaMusic {
public:
    static int PlayMusic;   // 1 while a tune is open (between Play and Stop)
    static int LoopMusic;   // 0 after Play, 1 once the tune has reached its end
    static int LoopMode;    // 1: restart at the end, 0: close at the end
    static int Init();
    static void Play(const char* FileName, int Loop);
    static void Replay();
    static void Stop();
    static void NoLoop();
    static void DestroyObject();
};
