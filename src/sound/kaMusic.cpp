// kaMusic: opens a MIDI file from the program folder under the alias "midi",
// plays it with an end notice to the main window, restarts or closes it when
// that notice arrives, and stops it. Failures of the sequencer are not
// reported: the tune is then silent and the program goes on.
#include "sound/kaMusic.h"

#include <cstdio>
#include <cstring>

#include "platform/Mci.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

int kaMusic::PlayMusic = 0;
int kaMusic::LoopMusic = 0;
int kaMusic::LoopMode = 1;

namespace {

void Send(const char* command, HWND notify = nullptr) { plat::MciSendString(command, nullptr, 0, notify); }

// The open command for FileName below the program folder. False when it
// does not fit the buffer (a cut path could name another file) or the name
// holds a quote (it would end the path early).
bool BuildOpen(char* command, size_t size, const char* FileName) {
    if (FileName == nullptr || std::strchr(FileName, '"') != nullptr) return false;
    const int n = std::snprintf(command, size, "open \"%s%s\" type sequencer alias midi", kaSystem::Directory(0),
                                FileName);
    return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace

int kaMusic::Init() {
    PlayMusic = 0;
    LoopMusic = 0;
    LoopMode = 1;
    return 1;
}

void kaMusic::Play(const char* FileName, int Loop) {
    char command[256];
    const bool fits = BuildOpen(command, sizeof command, FileName);
    if (PlayMusic == 1) Stop();
    if (fits) Send(command);
    Send("seek midi to start");
    Send("play midi notify", hwnd);
    // Set even when the open failed: Stop then sends its commands harmlessly.
    PlayMusic = 1;
    LoopMusic = 0;
    LoopMode = Loop;
}

void kaMusic::Replay() {
    if (LoopMode == 1) {
        Send("seek midi to start");
        Send("play midi notify", hwnd);
    } else {
        Stop();
    }
    LoopMusic = 1;
}

void kaMusic::Stop() {
    if (PlayMusic != 1) return;
    Send("stop midi");
    Send("close midi");
    PlayMusic = 0;
}

void kaMusic::NoLoop() { LoopMode = 0; }

void kaMusic::DestroyObject() {
    Send("stop midi");
    Send("close midi");
    PlayMusic = 0;
}
