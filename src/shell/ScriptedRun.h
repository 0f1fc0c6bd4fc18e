// Scripted runs: an input script of key events that is fed to the window
// procedure frame by frame (--replay), the recording of such a script from a
// live play (--record), and a trace of notable events on standard output
// (--trace).
//
// Script format, one event per line: `FRAME KEY down|up`, FRAME a decimal
// frame number (0 = the first frame the loop runs), KEY a virtual-key code in
// hex (0x25). '#' starts a comment. The events of frame F reach the window
// procedure before frame F runs.
#pragma once

#include <string>
#include <vector>

#include "platform/Window.h"

namespace shell {

struct ScriptEvent {
    unsigned long frame = 0;
    unsigned key = 0;
    bool down = false;
};

// Parses a script. On failure returns false and says why in *error (with the
// line number). Frames must not decrease from one event to the next.
bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);
// One line of a script, without the line end: "120 0x27 down".
std::string FormatScriptEvent(const ScriptEvent& event);

// Run-time set-up, normally made by the command-line options.
bool LoadReplay(const std::string& path, std::string* error);
void SetReplay(std::vector<ScriptEvent> events);
bool StartRecording(const std::string& path, std::string* error);
void StopRecording();
void SetTrace(bool on);
bool TraceEnabled();

// The frame now running or about to run (the loop keeps this up to date).
unsigned long ScriptFrame();
void SetScriptFrame(unsigned long frame);

// Writes "frame N TEXT" to standard output when tracing.
void TraceLine(const std::string& text);

// Whether the application is at rest, so that a headless replay without a
// frame limit may end once its script is used up.
using RestCheck = bool (*)();
void SetRestCheck(RestCheck check);

// Hooks of the message loop.
// Before frame `frame` runs: posts the script's events of that frame (once)
// and returns true if it posted any, so that the loop dispatches them first.
bool PostScriptedInput(unsigned long frame);
// Every message taken from the queue before frame `frame`: key messages go
// to the recording.
void NoteDispatchedMessage(const MSG& msg, unsigned long frame);
// After a frame: `framesRun` frames have run. Returns true when a headless
// replay without a frame limit has ended and the program should close.
bool ScriptedRunFinished(unsigned long framesRun, bool headless, bool frameLimitSet);

// Registers --replay, --record and --trace in the command-line table.
void AddScriptedRunOptions();

}  // namespace shell
