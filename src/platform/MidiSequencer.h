// The MIDI sequencer: one tune at a time, played by a General MIDI software
// synthesizer (FluidSynth with a soundfont) that renders into our own mixer
// as one more stereo source. The tune's events are timed in output samples,
// so headless runs are exact and repeatable. The end of playback is posted
// to a window as MM_MCINOTIFY. The command strings of Mci.h drive it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace plat::midi {

enum class Status {
    Ok,
    NoDevice,      // no sound output: nothing would ever play or end
    NoSoundFont,   // the synthesizer could not be started
    FileNotFound,
    NotMidi,       // unreadable, truncated or not a standard MIDI file
    AlreadyOpen,
    NotOpen,
};

// Completion codes in wParam of MM_MCINOTIFY; lParam is kDeviceId.
constexpr WPARAM kNotifySuccessful = 1;  // the tune played to its end
constexpr WPARAM kNotifySuperseded = 2;  // another play asked for the notice
constexpr WPARAM kNotifyAborted = 4;     // stopped, sought, closed
constexpr LPARAM kDeviceId = 1;

// Environment variable that names the soundfont to use instead of the
// installed ones.
constexpr const char* kSoundFontVariable = "KA_SOUNDFONT";

// The soundfont the synthesizer loads: $KA_SOUNDFONT when it names a file,
// else the best General MIDI font installed (FluidR3_GM, then TimGM6mb).
// Empty when there is none.
std::string FindSoundFont();

// Opens the tune in the file `path` (already a path of this system),
// stopped at its start. Starts the synthesizer on first use.
Status Open(const std::string& path);
bool IsOpen();
// Stops playback if it runs (a waiting notice is aborted) and goes back to
// the first event.
Status SeekToStart();
// Plays from the current position. With `notify`, that window receives
// the notice when the tune ends or playback is interrupted; a notice still
// waiting for an earlier play is superseded.
Status Play(HWND notify);
// Stops playback where it is; sounding notes are released.
Status Stop();
// Closes the tune; what still sounds fades out within a few milliseconds.
Status Close();
bool Playing();
// Position and length in milliseconds.
uint64_t PositionMillis();
uint64_t LengthMillis();

// The sound device is going away: the tune is dropped without notices and
// the synthesizer is freed. The next Open starts it again.
void Shutdown();

}  // namespace plat::midi
