// Scores in a compact MML-style text: a header of directives (tempo,
// instruments, loop, level) and tracks of notes. Parsing yields plain note
// events in ticks (a whole note is 192 ticks).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace assetgen {

enum class Wave { Square12, Square25, Square50, Triangle, Saw, Sine, Noise, NoiseShort };

struct Instrument {
    Wave wave = Wave::Square50;
    double attackMs = 2, decayMs = 80, sustain = 0.7, releaseMs = 40;
    double gain = 1.0;
    double vibratoHz = 0, vibratoCents = 0, vibratoDelayMs = 0;
    double sweepSemitones = 0, sweepMs = 0;  // pitch glide from the note's start
};

struct NoteEvent {
    int startTick = 0;
    int lengthTicks = 0;  // from start to the next event
    int gateTicks = 0;    // how long the key is held (release starts after)
    int midi = 60;
    int volume = 12;  // 0..15
    std::string instrument;
};

struct Track {
    char name = 'A';
    std::vector<NoteEvent> notes;
    int lengthTicks = 0;
    double echoMs = 0, echoFeedback = 0;
};

struct Score {
    double tempo = 120;  // quarter notes per minute
    bool loops = false;
    double peakDb = -8;  // the music's level: room for an effect on top
    double lowpassHz = 0;  // 0 = none
    int barTicks = 192;    // for the bar-line checks
    std::map<std::string, Instrument> instruments;
    std::vector<Track> tracks;
    int lengthTicks = 0;  // the longest track
};

constexpr int kTicksPerWhole = 192;

// Parses a score; throws std::runtime_error naming the line on a fault. A
// looping score must have all its tracks the same length.
Score ParseScore(const std::string& text, const std::string& origin);

// Expands "[ ... ]n" repeats (nested; "/" ends the last pass early).
std::string ExpandRepeats(const std::string& body);

}  // namespace assetgen
