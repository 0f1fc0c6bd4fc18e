// Score syntax. Lines starting with '#' are directives:
//   #tempo N            quarter notes per minute
//   #loop               the piece repeats seamlessly (tracks must end together)
//   #peak DB            level of the loudest sample after mixing (dBFS, default -8)
//   #lowpass HZ         gentle filter over the mix
//   #inst NAME k=v ...  wave=square12|square25|square50|triangle|saw|sine|noise|noiseshort
//                       attack= decay= release= (ms) sustain= gain= (0..1+)
//                       vibrato=HZ,CENTS,DELAYMS  sweep=SEMITONES,MS
//   #echo T MS FEEDBACK echo on track T
//   #bar TICKS          length of a bar for the bar checks (default 192, 4/4)
// Other lines start with a track letter and hold its notes; ';' starts a
// comment. Notes: c d e f g a b with + # - accidentals, an optional length
// (1 2 4 8 16 32, 3 6 12 24 for triplets) and dots; r rest; ^len tie;
// & joins the next note of the same pitch; o octave, < > octave down/up,
// l default length, v volume 0..15, q gate 1..8, k transpose, @NAME
// instrument; [ ... / ... ]N repeats (the last pass stops at '/'); '|' is a
// bar line and checks that the notes before it fill whole bars.
#include "Mml.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

std::string StripComment(const std::string& line) {
    size_t semi = line.find(';');
    return semi == std::string::npos ? line : line.substr(0, semi);
}

Wave ParseWave(const std::string& name) {
    static const std::map<std::string, Wave> kWaves = {
        {"square12", Wave::Square12}, {"square25", Wave::Square25}, {"square50", Wave::Square50},
        {"triangle", Wave::Triangle}, {"saw", Wave::Saw},           {"sine", Wave::Sine},
        {"noise", Wave::Noise},       {"noiseshort", Wave::NoiseShort}};
    auto it = kWaves.find(name);
    if (it == kWaves.end()) throw std::runtime_error("unknown wave " + name);
    return it->second;
}

std::vector<double> Numbers(const std::string& text, size_t count) {
    std::vector<double> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) out.push_back(std::stod(part));
    if (out.size() != count) throw std::runtime_error("expected " + std::to_string(count) + " numbers: " + text);
    return out;
}

Instrument ParseInstrument(std::istringstream& words) {
    Instrument inst;
    std::string pair;
    while (words >> pair) {
        size_t eq = pair.find('=');
        if (eq == std::string::npos) throw std::runtime_error("expected key=value: " + pair);
        const std::string key = pair.substr(0, eq), value = pair.substr(eq + 1);
        if (key == "wave") inst.wave = ParseWave(value);
        else if (key == "attack") inst.attackMs = std::stod(value);
        else if (key == "decay") inst.decayMs = std::stod(value);
        else if (key == "sustain") inst.sustain = std::stod(value);
        else if (key == "release") inst.releaseMs = std::stod(value);
        else if (key == "gain") inst.gain = std::stod(value);
        else if (key == "vibrato") {
            auto v = Numbers(value, 3);
            inst.vibratoHz = v[0], inst.vibratoCents = v[1], inst.vibratoDelayMs = v[2];
        } else if (key == "sweep") {
            auto v = Numbers(value, 2);
            inst.sweepSemitones = v[0], inst.sweepMs = v[1];
        } else {
            throw std::runtime_error("unknown instrument setting " + key);
        }
    }
    if (inst.attackMs < 0 || inst.decayMs < 0 || inst.releaseMs < 0 || inst.sustain < 0 || inst.sustain > 1)
        throw std::runtime_error("envelope times must be >= 0 and sustain 0..1");
    return inst;
}

// Reads the notes of one track from its expanded text.
class TrackParser {
public:
    TrackParser(const std::string& text, Track* track, const Score& score)
        : s(text), t(track), score(score) {}

    void Run() {
        while (SkipSpace(), pos < s.size()) {
            const char c = char(std::tolower(static_cast<unsigned char>(s[pos++])));
            if (c >= 'a' && c <= 'g') Note(c);
            else if (c == 'r') Rest();
            else if (c == '^') Tie();
            else if (c == '&') joinNext = true;
            else if (c == 'o') octave = Int(0, 9);
            else if (c == '<') --octave;
            else if (c == '>') ++octave;
            else if (c == 'l') defaultTicks = Length();
            else if (c == 'v') volume = Int(0, 15);
            else if (c == 'q') gate = Int(1, 8);
            else if (c == 'k') transpose = SignedInt();
            else if (c == '@') Instrument();
            else if (c == '|') {
                if (tick % score.barTicks)
                    throw std::runtime_error("bar line " + std::to_string(tick / score.barTicks + 1) + " is " +
                                             std::to_string(tick % score.barTicks) + " ticks into the bar");
            }
            else throw std::runtime_error(std::string("unexpected '") + s[pos - 1] + "'");
        }
        t->lengthTicks = tick;
    }

private:
    void SkipSpace() {
        while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    }
    bool HasDigit() const { return pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])); }
    int Int(int lo, int hi) {
        if (!HasDigit()) throw std::runtime_error("a number is missing");
        int v = 0;
        while (HasDigit()) v = v * 10 + (s[pos++] - '0');
        if (v < lo || v > hi) throw std::runtime_error("number out of range: " + std::to_string(v));
        return v;
    }
    int SignedInt() {
        int sign = 1;
        if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) sign = s[pos++] == '-' ? -1 : 1;
        return sign * Int(0, 48);
    }
    // An optional length with dots; none means the default length.
    int Length() {
        int ticks = defaultTicks;
        if (HasDigit()) {
            const int n = Int(1, 192);
            if (kTicksPerWhole % n) throw std::runtime_error("length does not divide a whole note: " + std::to_string(n));
            ticks = kTicksPerWhole / n;
        }
        int add = ticks;
        while (pos < s.size() && s[pos] == '.') {
            ++pos;
            add /= 2;
            ticks += add;
        }
        return ticks;
    }
    void Note(char letter) {
        static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
        int midi = 12 * (octave + 1) + kSemitone[letter - 'a'] + transpose;
        while (pos < s.size() && (s[pos] == '+' || s[pos] == '#' || s[pos] == '-')) midi += s[pos++] == '-' ? -1 : 1;
        const int ticks = Length();
        if (midi < 0 || midi > 127) throw std::runtime_error("note out of range");
        if (inst.empty()) throw std::runtime_error("a note before any @instrument");
        if (joinNext && lastNote >= 0 && t->notes[size_t(lastNote)].midi == midi &&
            t->notes[size_t(lastNote)].startTick + t->notes[size_t(lastNote)].lengthTicks == tick) {
            NoteEvent& n = t->notes[size_t(lastNote)];
            n.lengthTicks += ticks;
            n.gateTicks = n.lengthTicks - (ticks - ticks * gate / 8);
        } else {
            t->notes.push_back({tick, ticks, std::max(1, ticks * gate / 8), midi, volume, inst});
            lastNote = int(t->notes.size()) - 1;
        }
        joinNext = false;
        tick += ticks;
    }
    void Rest() {
        tick += Length();
        lastNote = -1;
        joinNext = false;
    }
    void Tie() {
        const int ticks = Length();
        if (lastNote >= 0) {
            NoteEvent& n = t->notes[size_t(lastNote)];
            n.lengthTicks += ticks;
            n.gateTicks = n.lengthTicks - (ticks - ticks * gate / 8);
        }
        tick += ticks;
    }
    void Instrument() {
        size_t start = pos;
        while (pos < s.size() && (std::isalnum(static_cast<unsigned char>(s[pos])) || s[pos] == '_')) ++pos;
        inst = s.substr(start, pos - start);
        if (!score.instruments.count(inst)) throw std::runtime_error("unknown instrument @" + inst);
    }

    const std::string& s;
    Track* t;
    const Score& score;
    size_t pos = 0;
    int tick = 0, octave = 4, defaultTicks = 48, volume = 12, gate = 7, transpose = 0, lastNote = -1;
    bool joinNext = false;
    std::string inst;
};

}  // namespace

std::string ExpandRepeats(const std::string& body) {
    std::string text = body;
    for (;;) {
        const size_t close = text.find(']');
        if (close == std::string::npos) break;
        const size_t open = text.rfind('[', close);
        if (open == std::string::npos) throw std::runtime_error("']' without '['");
        size_t end = close + 1;
        int count = 0;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) count = count * 10 + (text[end++] - '0');
        if (end == close + 1) throw std::runtime_error("a repeat needs its count: ]N");
        if (count < 1 || count > 256) throw std::runtime_error("repeat count must be 1..256");
        const std::string inner = text.substr(open + 1, close - open - 1);
        const size_t bar = inner.find('/');
        std::string out;
        for (int i = 0; i < count; ++i) out += (i + 1 == count && bar != std::string::npos) ? inner.substr(0, bar) : inner;
        for (char& c : out)
            if (c == '/') c = ' ';
        text = text.substr(0, open) + " " + out + " " + text.substr(end);
    }
    if (text.find('[') != std::string::npos) throw std::runtime_error("'[' without ']'");
    return text;
}

Score ParseScore(const std::string& text, const std::string& origin) {
    Score score;
    std::map<char, std::string> bodies;
    std::map<char, std::pair<double, double>> echoes;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    try {
        while (std::getline(in, raw)) {
            ++lineNo;
            const std::string line = StripComment(raw);
            if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
            if (line[0] == '#') {
                std::istringstream words(line.substr(1));
                std::string verb;
                words >> verb;
                if (verb == "tempo") {
                    if (!(words >> score.tempo) || score.tempo < 20 || score.tempo > 400) throw std::runtime_error("tempo 20..400");
                } else if (verb == "bar") {
                    if (!(words >> score.barTicks) || score.barTicks < 12 || score.barTicks > 768) throw std::runtime_error("bar 12..768 ticks");
                } else if (verb == "loop") {
                    score.loops = true;
                } else if (verb == "peak") {
                    if (!(words >> score.peakDb) || score.peakDb > 0) throw std::runtime_error("peak is dBFS <= 0");
                } else if (verb == "lowpass") {
                    if (!(words >> score.lowpassHz) || score.lowpassHz < 100) throw std::runtime_error("lowpass Hz >= 100");
                } else if (verb == "inst") {
                    std::string name;
                    words >> name;
                    if (name.empty() || score.instruments.count(name)) throw std::runtime_error("instrument needs a new name");
                    score.instruments[name] = ParseInstrument(words);
                } else if (verb == "echo") {
                    std::string track;
                    double ms = 0, feedback = 0;
                    if (!(words >> track >> ms >> feedback) || track.size() != 1 || ms <= 0 || feedback < 0 || feedback >= 1)
                        throw std::runtime_error("echo needs TRACK MS FEEDBACK(0..1)");
                    echoes[track[0]] = {ms, feedback};
                } else {
                    throw std::runtime_error("unknown directive #" + verb);
                }
            } else {
                if (!std::isupper(static_cast<unsigned char>(line[0])) || line.size() < 2 ||
                    !std::isspace(static_cast<unsigned char>(line[1])))
                    throw std::runtime_error("a track line starts with its letter and a space");
                bodies[line[0]] += " " + line.substr(2);
            }
        }
        lineNo = 0;
        for (auto& [name, body] : bodies) {
            Track track;
            track.name = name;
            try {
                TrackParser(ExpandRepeats(body), &track, score).Run();
            } catch (const std::exception& e) {
                throw std::runtime_error(std::string("track ") + name + ": " + e.what());
            }
            if (echoes.count(name)) {
                track.echoMs = echoes[name].first;
                track.echoFeedback = echoes[name].second;
            }
            score.lengthTicks = std::max(score.lengthTicks, track.lengthTicks);
            score.tracks.push_back(std::move(track));
        }
        for (const Track& track : score.tracks) {
            if (score.loops && track.lengthTicks != score.lengthTicks)
                throw std::runtime_error(std::string("track ") + track.name + " is " + std::to_string(track.lengthTicks) +
                                         " ticks long, the piece " + std::to_string(score.lengthTicks));
        }
        if (score.tracks.empty()) throw std::runtime_error("no tracks");
    } catch (const std::exception& e) {
        throw std::runtime_error(origin + (lineNo ? ":" + std::to_string(lineNo) : std::string()) + ": " + e.what());
    }
    return score;
}

}  // namespace assetgen
