// The command strings of the MIDI sequencer, the interface the music class
// and the window procedure speak:
//
//     open "PATH" type sequencer alias midi     seek midi to start
//     play midi [notify]                        stop midi
//     close midi                                status midi mode|position|length
//
// Words are separated by spaces and compared without regard to case; the
// path is quoted (a name without spaces may go unquoted) and read exactly up
// to the next quote, with backslashes taken as folder separators. "notify"
// posts MM_MCINOTIFY to the given window when playback ends or is cut short.
#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace plat {

// Error codes of the command strings; 0 is success.
constexpr uint32_t kMciOk = 0;
constexpr uint32_t kMciUnrecognizedKeyword = 259;
constexpr uint32_t kMciUnrecognizedCommand = 261;
constexpr uint32_t kMciInvalidDeviceName = 263;  // no device open under that alias
constexpr uint32_t kMciCannotLoadDriver = 266;   // no synthesizer or no sound output
constexpr uint32_t kMciMissingParameter = 273;
constexpr uint32_t kMciFileNotFound = 275;
constexpr uint32_t kMciDuplicateAlias = 289;
constexpr uint32_t kMciNoClosingQuote = 294;
constexpr uint32_t kMciInvalidFile = 296;

// Carries out one command. A status query writes its answer ("playing" or
// "stopped" for mode, milliseconds for position and length) into `reply`,
// cut to `replySize` bytes with the terminator; on any error, and for
// commands without an answer, `reply` is set to "". A command that fails has
// no effect.
uint32_t MciSendString(const char* command, char* reply, unsigned replySize, HWND notify);

}  // namespace plat
