// Run-time choices of the platform layer, taken from the command line by the
// shell before anything is opened.
#pragma once

#include <string>

namespace plat {

struct Options {
    bool headless = false;      // no window, no audio device, virtual 60 Hz clock
    bool windowed = false;      // an ordinary window instead of full screen
    int scale = 1;              // window size in multiples of 640x480 (windowed;
                                // reduced until the window fits the desktop)
    bool rgb555 = false;        // 5-5-5 surfaces instead of 5-6-5
    std::string screenshot;     // on exit: last presented frame as a 24-bit BMP
    std::string audioCapture;   // everything the mixer outputs, as a WAV file
    bool answerNo = false;      // message boxes shown on the console answer
                                // yes/no questions with No instead of Yes
};

// Set once at start-up; read by every part of the platform layer.
void SetOptions(const Options& options);
const Options& GetOptions();

}  // namespace plat
