// Voice rendering. Each note is rendered on its own from its first sample to
// the end of its release, added into its track (wrapping for loops); tracks
// then get their echo and are summed, filtered and normalised.
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Softens the jump of a naive square or saw at each wrap of the phase.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Duty(Wave w) { return w == Wave::Square12 ? 0.125 : w == Wave::Square25 ? 0.25 : 0.5; }

class Voice {
public:
    Voice(const Instrument& inst, int midi, int sampleRate) : inst_(inst), sr_(sampleRate), midi_(midi) {}

    // One sample of the oscillator at time `t` seconds into the note.
    double Next(double t) {
        double semis = midi_;
        if (inst_.sweepMs > 0) semis += inst_.sweepSemitones * std::min(1.0, t * 1000.0 / inst_.sweepMs);
        if (inst_.vibratoCents > 0 && t * 1000.0 > inst_.vibratoDelayMs) {
            const double since = t - inst_.vibratoDelayMs / 1000.0;
            const double fadeIn = std::min(1.0, since / 0.15);
            semis += fadeIn * inst_.vibratoCents / 100.0 * std::sin(2 * kPi * inst_.vibratoHz * since);
        }
        const double freq = 440.0 * std::pow(2.0, (semis - 69) / 12.0);
        const double dt = std::min(freq / sr_, 0.5);
        double out = 0;
        switch (inst_.wave) {
            case Wave::Square12:
            case Wave::Square25:
            case Wave::Square50: {
                const double duty = Duty(inst_.wave);
                out = phase_ < duty ? 1.0 : -1.0;
                out += PolyBlep(phase_, dt);
                out -= PolyBlep(std::fmod(phase_ + 1.0 - duty, 1.0), dt);
                out -= 2 * duty - 1;  // no offset for the narrow pulses
                break;
            }
            case Wave::Triangle:
                out = phase_ < 0.5 ? 4 * phase_ - 1 : 3 - 4 * phase_;
                break;
            case Wave::Saw:
                out = 2 * phase_ - 1 - PolyBlep(phase_, dt);
                break;
            case Wave::Sine:
                out = std::sin(2 * kPi * phase_);
                break;
            case Wave::Noise:
            case Wave::NoiseShort: {
                // A 15-bit shift register clocked at 16x the note's frequency;
                // the short mode repeats after 93 steps and sounds metallic.
                noiseClock_ += freq * 16.0 / sr_;
                while (noiseClock_ >= 1.0) {
                    noiseClock_ -= 1.0;
                    const int tap = inst_.wave == Wave::NoiseShort ? 6 : 1;
                    const uint16_t bit = ((lfsr_ ^ (lfsr_ >> tap)) & 1);
                    lfsr_ = uint16_t((lfsr_ >> 1) | (bit << 14));
                }
                out = (lfsr_ & 1) ? 1.0 : -1.0;
                break;
            }
        }
        phase_ += dt;
        if (phase_ >= 1.0) phase_ -= 1.0;
        return out;
    }

private:
    const Instrument& inst_;
    int sr_;
    int midi_;
    double phase_ = 0;
    double noiseClock_ = 0;
    uint16_t lfsr_ = 1;
};

// Envelope level at time t for a key held `gate` seconds.
double Envelope(const Instrument& inst, double t, double gate) {
    auto held = [&](double at) {
        const double a = std::max(inst.attackMs, 1.0) / 1000.0, d = inst.decayMs / 1000.0;
        if (at < a) return at / a;
        if (d <= 0) return inst.sustain;
        // Exponential approach to the sustain level, reaching it closely after `decay`.
        return inst.sustain + (1.0 - inst.sustain) * std::exp(-5.0 * (at - a) / d);
    };
    if (t < gate) return held(t);
    const double r = std::max(inst.releaseMs, 1.0) / 1000.0;
    const double since = t - gate;
    return since >= r ? 0.0 : held(gate) * (1.0 - since / r);
}

}  // namespace

double TickSeconds(const Score& score, int tick) {
    return double(tick) * (60.0 / score.tempo) / (kTicksPerWhole / 4.0);
}

std::vector<float> RenderScore(const Score& score, int sampleRate) {
    const auto toSample = [&](int tick) { return size_t(std::llround(TickSeconds(score, tick) * sampleRate)); };
    const size_t loopLength = toSample(score.lengthTicks);
    if (loopLength == 0) throw std::runtime_error("the score is empty");

    // Room for the longest tail after the last note of a one-shot piece.
    double longestTail = 0;
    for (const auto& [name, inst] : score.instruments) longestTail = std::max(longestTail, inst.releaseMs / 1000.0);
    double longestEcho = 0;
    for (const Track& track : score.tracks)
        if (track.echoFeedback > 0)
            longestEcho = std::max(longestEcho, track.echoMs / 1000.0 * std::log(0.001) / std::log(track.echoFeedback));
    const size_t length =
        score.loops ? loopLength : loopLength + size_t((longestTail + longestEcho + 0.05) * sampleRate);

    std::vector<double> mix(length, 0.0);
    for (const Track& track : score.tracks) {
        std::vector<double> lane(length, 0.0);
        for (const NoteEvent& note : track.notes) {
            const Instrument& inst = score.instruments.at(note.instrument);
            const size_t start = toSample(note.startTick);
            const double gate = TickSeconds(score, note.startTick + note.gateTicks) - TickSeconds(score, note.startTick);
            const size_t count = size_t((gate + std::max(inst.releaseMs, 1.0) / 1000.0) * sampleRate) + 1;
            const double amp = inst.gain * note.volume / 15.0;
            Voice voice(inst, note.midi, sampleRate);
            for (size_t i = 0; i < count; ++i) {
                const double t = double(i) / sampleRate;
                const double v = voice.Next(t) * Envelope(inst, t, gate) * amp;
                size_t at = start + i;
                if (score.loops) at %= length;
                if (at < length) lane[at] += v;
            }
        }
        if (track.echoFeedback > 0) {
            // Feedback echo; a loop is run round twice so its start hears the end.
            const size_t delay = std::max<size_t>(1, size_t(track.echoMs / 1000.0 * sampleRate));
            std::vector<double> dry = lane;
            const int passes = score.loops ? 1 + int(std::ceil(longestEcho * sampleRate / double(length))) : 1;
            std::vector<double> wet(length, 0.0);
            for (int pass = 0; pass < passes + 1; ++pass) {
                for (size_t i = 0; i < length; ++i) {
                    double back = 0;
                    if (i >= delay) back = wet[i - delay];
                    else if (score.loops) back = wet[length - delay + i];
                    wet[i] = dry[i] + track.echoFeedback * back;
                }
            }
            lane = wet;
        }
        for (size_t i = 0; i < length; ++i) mix[i] += lane[i];
    }

    if (score.lowpassHz > 0) {
        const double a = 1.0 - std::exp(-2 * kPi * score.lowpassHz / sampleRate);
        double y = 0;
        const int passes = score.loops ? 2 : 1;  // the first pass only settles the filter for the wrap
        std::vector<double> out(length);
        for (int pass = 0; pass < passes; ++pass)
            for (size_t i = 0; i < length; ++i) out[i] = y += a * (mix[i] - y);
        mix = out;
    }

    // Trim a one-shot's silent end, then bring the peak to the wanted level.
    size_t used = length;
    if (!score.loops)
        while (used > loopLength && std::fabs(mix[used - 1]) < 1e-4) --used;
    double peak = 0;
    for (size_t i = 0; i < used; ++i) peak = std::max(peak, std::fabs(mix[i]));
    const double scale = peak > 0 ? std::pow(10.0, score.peakDb / 20.0) / peak : 0.0;
    std::vector<float> out(used);
    for (size_t i = 0; i < used; ++i) out[i] = float(mix[i] * scale);
    return out;
}

}  // namespace assetgen
