// The MIDI sequencer on FluidSynth: the synthesizer is created without an
// audio driver of its own and rendered by the mixer through the extra-source
// hook of the sound device, on whichever thread mixes (SDL's audio thread,
// or the main thread as the virtual clock advances). The tune's events are
// handed to the synthesizer at their sample, and the end is the sample of
// the tune's last event, so a loop restarts on the beat.
//
// Locking: gSeq guards everything here. The mixer calls Render with its own
// lock held and then takes gSeq; so code holding gSeq never calls into the
// sound device.
#include "platform/MidiSequencer.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/Files.h"
#include "platform/MidiFile.h"

namespace plat::midi {

namespace {

// FluidSynth's output is 0.2 by default, far below the sound effects; this
// brings a full General MIDI arrangement to about -8 dBFS.
constexpr double kSynthGain = 0.4;
// A closed tune's remaining sound is faded over this long rather than cut.
constexpr uint32_t kFadeMillis = 30;
constexpr int kChannels = 16;

struct Tune {
    Song song;
    size_t next = 0;        // index of the next event to play
    uint64_t position = 0;  // output frames since the start
    bool playing = false;
    HWND notify = nullptr;  // the window waiting for a notice, if any
};

std::mutex gSeq;
fluid_settings_t* gSettings = nullptr;
fluid_synth_t* gSynth = nullptr;
uint32_t gRate = 0;
std::unique_ptr<Tune> gTune;
uint32_t gFadeLeft = 0;   // frames of the closing fade still to render
uint32_t gFadeTotal = 0;
std::vector<float> gLeft, gRight;

bool IsFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

uint64_t FrameOf(uint64_t micros) { return micros * gRate / 1000000u; }

void Notify(Tune& tune, WPARAM code) {
    if (tune.notify == nullptr) return;
    PostMessage(tune.notify, MM_MCINOTIFY, code, kDeviceId);
    tune.notify = nullptr;
}

// Lets every sounding note go into its release, pedal included.
void ReleaseNotes() {
    if (gSynth == nullptr) return;
    for (int c = 0; c < kChannels; ++c) {
        fluid_synth_cc(gSynth, c, 64, 0);
        fluid_synth_all_notes_off(gSynth, c);
    }
}

// A stop or seek: a playing tune stops where it is, and its notice says so.
void Halt(Tune& tune) {
    if (tune.playing) {
        tune.playing = false;
        ReleaseNotes();
    }
    Notify(tune, kNotifyAborted);
}

void Dispatch(const Song& song, const Event& e) {
    const int channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(gSynth, channel, e.data1);
        break;
    case 0x90:
        if (e.data2 == 0) {
            fluid_synth_noteoff(gSynth, channel, e.data1);
        } else {
            fluid_synth_noteon(gSynth, channel, e.data1, e.data2);
        }
        break;
    case 0xA0:
        fluid_synth_key_pressure(gSynth, channel, e.data1, e.data2);
        break;
    case 0xB0:
        fluid_synth_cc(gSynth, channel, e.data1, e.data2);
        break;
    case 0xC0:
        fluid_synth_program_change(gSynth, channel, e.data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(gSynth, channel, e.data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(gSynth, channel, e.data1 | (e.data2 << 7));
        break;
    case 0xF0:
        if (e.sysexSize > 0) {
            fluid_synth_sysex(gSynth, reinterpret_cast<const char*>(song.sysex.data() + e.sysexOffset),
                              static_cast<int>(e.sysexSize), nullptr, nullptr, nullptr, 0);
        }
        break;
    default:
        break;
    }
}

void FreeSynth() {
    if (gSynth != nullptr) delete_fluid_synth(gSynth);
    if (gSettings != nullptr) delete_fluid_settings(gSettings);
    gSynth = nullptr;
    gSettings = nullptr;
    gFadeLeft = gFadeTotal = 0;
}

bool StartSynth(uint32_t rate) {
    if (gSynth != nullptr) return true;
    const std::string font = FindSoundFont();
    if (font.empty()) return false;
    // FluidSynth reports through its own log; our callers get a status.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
    gSettings = new_fluid_settings();
    if (gSettings == nullptr) return false;
    fluid_settings_setnum(gSettings, "synth.sample-rate", rate);
    fluid_settings_setnum(gSettings, "synth.gain", kSynthGain);
    fluid_settings_setint(gSettings, "synth.cpu-cores", 1);
    // Our own lock serialises every call.
    fluid_settings_setint(gSettings, "synth.threadsafe-api", 0);
    gSynth = new_fluid_synth(gSettings);
    if (gSynth == nullptr || fluid_synth_sfload(gSynth, font.c_str(), 1) == FLUID_FAILED) {
        FreeSynth();
        return false;
    }
    gRate = rate;
    return true;
}

// Renders `frames` frames of the synthesizer and adds them into accum
// (16-bit sample units), faded when a close is under way.
void RenderSynth(float* accum, uint32_t frames) {
    if (gLeft.size() < frames) {
        gLeft.resize(frames);
        gRight.resize(frames);
    }
    fluid_synth_write_float(gSynth, static_cast<int>(frames), gLeft.data(), 0, 1, gRight.data(), 0, 1);
    for (uint32_t i = 0; i < frames; ++i) {
        float gain = 32768.0f;
        if (gFadeTotal != 0) {
            gain *= static_cast<float>(gFadeLeft) / static_cast<float>(gFadeTotal);
            if (gFadeLeft > 0) --gFadeLeft;
        }
        accum[2 * i] += gLeft[i] * gain;
        accum[2 * i + 1] += gRight[i] * gain;
    }
    if (gFadeTotal != 0 && gFadeLeft == 0) {
        // Faded out: what still sounds is cut now, silently, and the
        // channels start the next tune from their defaults.
        fluid_synth_system_reset(gSynth);
        gFadeTotal = 0;
    }
}

// The mixer's extra source.
void Render(float* accum, uint32_t frames, uint32_t rate, void*) {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gSynth == nullptr) return;
    if (rate != gRate && rate > 0) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        fluid_synth_set_sample_rate(gSynth, static_cast<float>(rate));
#pragma GCC diagnostic pop
        // The output was reopened at another rate: the tune keeps its place in time.
        if (gTune != nullptr && gRate != 0) gTune->position = gTune->position * rate / gRate;
        gRate = rate;
    }
    uint32_t done = 0;
    for (;;) {
        // Events and the end are looked at once more after the last frame,
        // so that a tune ending on a block's edge ends in that block.
        uint32_t n = frames - done;
        Tune* tune = gTune.get();
        bool running = tune != nullptr && tune->playing && gFadeTotal == 0;
        if (running) {
            const std::vector<Event>& events = tune->song.events;
            while (tune->next < events.size() && FrameOf(events[tune->next].micros) <= tune->position)
                Dispatch(tune->song, events[tune->next++]);
            const uint64_t end = FrameOf(tune->song.endMicros);
            if (tune->next == events.size() && tune->position >= end) {
                tune->playing = running = false;
                Notify(*tune, kNotifySuccessful);
            } else {
                const uint64_t until = tune->next < events.size() ? FrameOf(events[tune->next].micros) : end;
                n = static_cast<uint32_t>(std::min<uint64_t>(n, until - tune->position));
            }
        }
        if (done == frames) break;
        // Without a tune, and after the fade of a closed one, the
        // synthesizer is silent and costs nothing.
        const bool releasing = tune != nullptr && fluid_synth_get_active_voice_count(gSynth) > 0;
        if (running || releasing || gFadeTotal != 0) {
            RenderSynth(accum + size_t{done} * 2, n);
        }
        if (running) tune->position += n;
        done += n;
    }
}

}  // namespace

std::string FindSoundFont() {
    if (const char* chosen = std::getenv(kSoundFontVariable); chosen != nullptr && IsFile(chosen)) return chosen;
    static const char* const kInstalled[] = {
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/FluidR3_GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/soundfonts/default.sf2",
    };
    for (const char* path : kInstalled) {
        if (IsFile(path)) return path;
    }
    return "";
}

Status Open(const std::string& path) {
    if (!AudioOutputAvailable()) return Status::NoDevice;
    const uint32_t rate = GetOutputFormat().samplesPerSec;
    {
        std::lock_guard<std::mutex> guard(gSeq);
        if (gTune != nullptr) return Status::AlreadyOpen;
    }
    if (!IsFile(path)) return Status::FileNotFound;
    std::string bytes;
    if (!ReadFile(path, &bytes, kMaxFileBytes)) return Status::NotMidi;
    auto tune = std::make_unique<Tune>();
    if (!ReadMidiFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &tune->song))
        return Status::NotMidi;
    {
        std::lock_guard<std::mutex> guard(gSeq);
        if (gTune != nullptr) return Status::AlreadyOpen;
        if (!StartSynth(rate)) return Status::NoSoundFont;
        gTune = std::move(tune);
    }
    SetAudioSource(Render, nullptr);
    return Status::Ok;
}

bool IsOpen() {
    std::lock_guard<std::mutex> guard(gSeq);
    return gTune != nullptr;
}

Status SeekToStart() {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gTune == nullptr) return Status::NotOpen;
    Halt(*gTune);
    gTune->next = 0;
    gTune->position = 0;
    return Status::Ok;
}

Status Play(HWND notify) {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gTune == nullptr) return Status::NotOpen;
    Notify(*gTune, kNotifySuperseded);
    gTune->notify = notify;
    gTune->playing = true;
    return Status::Ok;
}

Status Stop() {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gTune == nullptr) return Status::NotOpen;
    Halt(*gTune);
    return Status::Ok;
}

Status Close() {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gTune == nullptr) return Status::NotOpen;
    Notify(*gTune, kNotifyAborted);
    gTune.reset();
    if (gSynth != nullptr && fluid_synth_get_active_voice_count(gSynth) > 0) {
        ReleaseNotes();
        gFadeTotal = gFadeLeft = std::max<uint32_t>(1, gRate * kFadeMillis / 1000);
    }
    return Status::Ok;
}

bool Playing() {
    std::lock_guard<std::mutex> guard(gSeq);
    return gTune != nullptr && gTune->playing;
}

uint64_t PositionMillis() {
    std::lock_guard<std::mutex> guard(gSeq);
    if (gTune == nullptr || gRate == 0) return 0;
    return gTune->position * 1000 / gRate;
}

uint64_t LengthMillis() {
    std::lock_guard<std::mutex> guard(gSeq);
    return gTune != nullptr ? gTune->song.endMicros / 1000 : 0;
}

void Shutdown() {
    {
        std::lock_guard<std::mutex> guard(gSeq);
        gTune.reset();
        FreeSynth();
    }
    SetAudioSource(nullptr, nullptr);
}

}  // namespace plat::midi
