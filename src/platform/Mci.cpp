// The command-string interpreter of the MIDI sequencer: splits a command
// into words (one quoted path at most), checks it against the few commands
// the sequencer knows and calls the sequencer. Anything it does not know
// exactly is refused with an error code and changes nothing.
#include "platform/Mci.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/MidiSequencer.h"

namespace plat {

namespace {

constexpr const char* kAlias = "midi";

struct Word {
    std::string text;
    bool quoted = false;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Is(const Word& w, const char* keyword) { return !w.quoted && Lower(w.text) == keyword; }

// Splits at spaces. A word that begins with a quote runs to the next quote,
// which must end the word; nothing inside is interpreted.
uint32_t Split(const char* command, std::vector<Word>* words) {
    const char* p = command;
    for (;;) {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '\0') return kMciOk;
        Word w;
        if (*p == '"') {
            const char* close = std::strchr(p + 1, '"');
            if (close == nullptr) return kMciNoClosingQuote;
            w.text.assign(p + 1, close);
            w.quoted = true;
            p = close + 1;
            if (*p != '\0' && *p != ' ' && *p != '\t') return kMciUnrecognizedKeyword;
        } else {
            const char* start = p;
            while (*p != '\0' && *p != ' ' && *p != '\t') {
                if (*p == '"') return kMciUnrecognizedKeyword;
                ++p;
            }
            w.text.assign(start, p);
        }
        words->push_back(std::move(w));
    }
}

uint32_t FromStatus(midi::Status status) {
    switch (status) {
    case midi::Status::Ok:
        return kMciOk;
    case midi::Status::NoDevice:
    case midi::Status::NoSoundFont:
        return kMciCannotLoadDriver;
    case midi::Status::FileNotFound:
        return kMciFileNotFound;
    case midi::Status::NotMidi:
        return kMciInvalidFile;
    case midi::Status::AlreadyOpen:
        return kMciDuplicateAlias;
    case midi::Status::NotOpen:
        return kMciInvalidDeviceName;
    }
    return kMciUnrecognizedCommand;
}

// open PATH, then "type sequencer" and "alias midi" in either order, once each.
uint32_t OpenCommand(const std::vector<Word>& w) {
    if (w.size() < 2 || w[1].text.empty()) return kMciMissingParameter;
    bool type = false;
    bool alias = false;
    for (size_t i = 2; i < w.size(); i += 2) {
        if (i + 1 >= w.size()) return kMciMissingParameter;
        if (Is(w[i], "type") && !type && Is(w[i + 1], "sequencer")) {
            type = true;
        } else if (Is(w[i], "alias") && !alias && Is(w[i + 1], kAlias)) {
            alias = true;
        } else {
            return kMciUnrecognizedKeyword;
        }
    }
    if (!type || !alias) return kMciMissingParameter;
    return FromStatus(midi::Open(ResolvePath(w[1].text)));
}

void Answer(char* reply, unsigned size, const std::string& text) {
    if (reply == nullptr || size == 0) return;
    const size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(reply, text.data(), n);
    reply[n] = '\0';
}

// Every other command names the device and then its own words.
uint32_t DeviceCommand(const std::string& verb, const std::vector<Word>& w, char* reply, unsigned replySize,
                       HWND notify) {
    if (w.size() < 2) return kMciMissingParameter;
    if (!Is(w[1], kAlias)) return kMciInvalidDeviceName;
    const size_t args = w.size() - 2;
    auto arg = [&](size_t i, const char* keyword) { return Is(w[2 + i], keyword); };
    if (verb == "seek") {
        if (args != 2 || !arg(0, "to") || !arg(1, "start")) return kMciUnrecognizedKeyword;
        return FromStatus(midi::SeekToStart());
    }
    if (verb == "play") {
        if (args > 1 || (args == 1 && !arg(0, "notify"))) return kMciUnrecognizedKeyword;
        return FromStatus(midi::Play(args == 1 ? notify : nullptr));
    }
    if (verb == "stop" || verb == "close") {
        if (args != 0) return kMciUnrecognizedKeyword;
        return FromStatus(verb == "stop" ? midi::Stop() : midi::Close());
    }
    // status
    if (args != 1) return args == 0 ? kMciMissingParameter : kMciUnrecognizedKeyword;
    std::string text;
    if (arg(0, "mode")) {
        text = midi::Playing() ? "playing" : "stopped";
    } else if (arg(0, "position")) {
        text = std::to_string(midi::PositionMillis());
    } else if (arg(0, "length")) {
        text = std::to_string(midi::LengthMillis());
    } else {
        return kMciUnrecognizedKeyword;
    }
    if (!midi::IsOpen()) return kMciInvalidDeviceName;
    Answer(reply, replySize, text);
    return kMciOk;
}

}  // namespace

uint32_t MciSendString(const char* command, char* reply, unsigned replySize, HWND notify) {
    Answer(reply, replySize, "");
    if (command == nullptr) return kMciUnrecognizedCommand;
    std::vector<Word> words;
    if (const uint32_t error = Split(command, &words); error != kMciOk) return error;
    if (words.empty() || words[0].quoted) return kMciUnrecognizedCommand;
    const std::string verb = Lower(words[0].text);
    if (verb == "open") return OpenCommand(words);
    if (verb == "seek" || verb == "play" || verb == "stop" || verb == "close" || verb == "status")
        return DeviceCommand(verb, words, reply, replySize, notify);
    return kMciUnrecognizedCommand;
}

}  // namespace plat
