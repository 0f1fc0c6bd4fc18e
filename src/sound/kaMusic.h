// kaMusic: one MIDI tune at a time through the sequencer.
#pragma once

class kaMusic {
public:
    static int PlayMusic;
    static int LoopMusic;
    static int LoopMode;
    static int Init();
    static void Replay();
    static void DestroyObject();
};
