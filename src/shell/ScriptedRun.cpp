// Input scripts: parsing and formatting, feeding a script to the window
// procedure through the message queue, recording the key messages of a live
// play, the trace lines on standard output, and the end of a headless replay.
#include "shell/ScriptedRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "shell/CommandLine.h"
#include "shell/Globals.h"

namespace shell {
namespace {

// A replay without a frame limit gives the program this long after its last
// event to come to rest before a headless run ends anyway.
constexpr unsigned long kGraceFrames = 600;
// Bounds of a script file: a whole game is some 20 KB with lines of a dozen
// bytes, so anything far beyond these is not a script.
constexpr size_t kMaxScriptBytes = 16u << 20;
constexpr size_t kMaxLineBytes = 1024;

// The identity of a file, however its path is spelt.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool known = false;
    bool operator==(const FileId& other) const {
        return known && other.known && device == other.device && inode == other.inode;
    }
};

FileId IdOf(const struct stat& st) { return {st.st_dev, st.st_ino, true}; }

struct ScriptState {
    std::vector<ScriptEvent> events;
    bool replaying = false;
    size_t next = 0;                 // first event not yet posted
    unsigned long postedFrame = ~0ul;
    std::FILE* record = nullptr;
    bool recordStarted = false;  // emptied and headed: done by the first line
    FileId recordId;
    FileId replayId;
    bool trace = false;
    unsigned long frame = 0;
    RestCheck restCheck = nullptr;
};

ScriptState& Script() {
    static ScriptState state;
    return state;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ParseFrame(const std::string& word, unsigned long* frame) {
    if (word.empty() || word[0] < '0' || word[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    *frame = value;
    return true;
}

bool ParseKey(const std::string& word, unsigned* key) {
    std::string digits = word;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits = digits.substr(2);
    if (digits.empty() || digits.size() > 2) return false;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    const unsigned value = static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 16));
    if (value == 0) return false;
    *key = value;
    return true;
}

// The recording file is opened without emptying it, so that a replay of the
// same file named later on the command line is refused, not erased; it is
// emptied and headed once the run begins (or at its first line).
void BeginRecording() {
    ScriptState& s = Script();
    if (s.record == nullptr || s.recordStarted) return;
    s.recordStarted = true;
    struct stat st = {};
    if (fstat(fileno(s.record), &st) == 0 && S_ISREG(st.st_mode) && ftruncate(fileno(s.record), 0) != 0)
        std::fprintf(stderr, "record: cannot empty the file\n");
    std::fputs("# kasample input script: FRAME KEY down|up (KEY a virtual-key code in hex)\n", s.record);
    std::fflush(s.record);
}

void WriteRecordLine(const std::string& line) {
    ScriptState& s = Script();
    if (s.record == nullptr) return;
    BeginRecording();
    std::fputs(line.c_str(), s.record);
    std::fputc('\n', s.record);
    // Flushed at once: a recording is most useful for the run that crashed.
    std::fflush(s.record);
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error) {
    std::vector<ScriptEvent> parsed;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (raw.size() > kMaxLineBytes) {
            if (error) *error = "line " + std::to_string(lineNo) + ": longer than " + std::to_string(kMaxLineBytes) +
                                " bytes";
            return false;
        }
        const std::string line = Trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        std::istringstream words(line);
        std::string frameWord, keyWord, edgeWord, extra;
        words >> frameWord >> keyWord >> edgeWord;
        ScriptEvent event;
        std::string why;
        if (!ParseFrame(frameWord, &event.frame)) {
            why = "bad frame number '" + frameWord + "'";
        } else if (!ParseKey(keyWord, &event.key)) {
            why = "bad key code '" + keyWord + "' (a hex code such as 0x25)";
        } else if (edgeWord != "down" && edgeWord != "up") {
            why = "expected 'down' or 'up', not '" + edgeWord + "'";
        } else if (words >> extra) {
            why = "unexpected '" + extra + "' after the event";
        } else if (!parsed.empty() && event.frame < parsed.back().frame) {
            why = "frame " + frameWord + " comes before the previous event's frame";
        }
        if (!why.empty()) {
            if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        }
        event.down = edgeWord == "down";
        parsed.push_back(event);
    }
    *events = std::move(parsed);
    return true;
}

std::string FormatScriptEvent(const ScriptEvent& event) {
    char line[64];
    std::snprintf(line, sizeof line, "%lu 0x%02X %s", event.frame, event.key, event.down ? "down" : "up");
    return line;
}

bool LoadReplay(const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    struct stat st = {};
    if (stat(path.c_str(), &st) != 0) return fail("cannot read '" + path + "'");
    // Devices, pipes and folders are no scripts (/dev/zero would never end).
    if (!S_ISREG(st.st_mode)) return fail("'" + path + "' is not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > kMaxScriptBytes)
        return fail("'" + path + "' is larger than " + std::to_string(kMaxScriptBytes >> 20) + " MB");
    ScriptState& s = Script();
    if (IdOf(st) == s.recordId) return fail("'" + path + "' is also the --record file");
    std::ifstream file(path, std::ios::binary);
    if (!file) return fail("cannot read '" + path + "'");
    std::string text;
    text.resize(static_cast<size_t>(st.st_size));
    file.read(&text[0], static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    std::vector<ScriptEvent> events;
    std::string why;
    if (!ParseInputScript(text, &events, &why)) return fail(path + ": " + why);
    SetReplay(std::move(events));
    s.replayId = IdOf(st);
    return true;
}

void SetReplay(std::vector<ScriptEvent> events) {
    ScriptState& s = Script();
    s.events = std::move(events);
    s.replaying = true;
    s.next = 0;
    s.postedFrame = ~0ul;
    s.replayId = FileId{};  // LoadReplay names the file after this
}

bool StartRecording(const std::string& path, std::string* error) {
    StopRecording();
    ScriptState& s = Script();
    struct stat st = {};
    const bool existed = stat(path.c_str(), &st) == 0;
    if (existed && IdOf(st) == s.replayId) {
        if (error) *error = "'" + path + "' is also the --replay file";
        return false;
    }
    // Opened for writing but not emptied yet: the first line written does that.
    // A device or pipe (/dev/stdout) is written as it is.
    s.record = std::fopen(path.c_str(), existed && S_ISREG(st.st_mode) ? "r+" : "w");
    if (s.record == nullptr || fstat(fileno(s.record), &st) != 0) {
        if (s.record != nullptr) std::fclose(s.record);
        s.record = nullptr;
        if (error) *error = "cannot write '" + path + "'";
        return false;
    }
    s.recordId = IdOf(st);
    s.recordStarted = false;
    return true;
}

void StopRecording() {
    ScriptState& s = Script();
    if (s.record != nullptr) {
        BeginRecording();
        std::fclose(s.record);
    }
    s.record = nullptr;
    s.recordId = FileId{};
}

void SetTrace(bool on) { Script().trace = on; }
bool TraceEnabled() { return Script().trace; }

unsigned long ScriptFrame() { return Script().frame; }
void SetScriptFrame(unsigned long frame) { Script().frame = frame; }

void TraceLine(const std::string& text) {
    if (!Script().trace) return;
    std::printf("frame %lu %s\n", Script().frame, text.c_str());
    std::fflush(stdout);
}

void SetRestCheck(RestCheck check) { Script().restCheck = check; }

bool PostScriptedInput(unsigned long frame) {
    ScriptState& s = Script();
    s.frame = frame;
    BeginRecording();
    if (!s.replaying || s.postedFrame == frame) return false;
    s.postedFrame = frame;
    bool posted = false;
    // Events of frames already past (none, unless the loop skipped) go too.
    while (s.next < s.events.size() && s.events[s.next].frame <= frame) {
        const ScriptEvent& event = s.events[s.next++];
        plat::PostMessage(hwnd, event.down ? WM_KEYDOWN : WM_KEYUP, event.key, 0);
        posted = true;
    }
    return posted;
}

void NoteDispatchedMessage(const MSG& msg, unsigned long frame) {
    if (Script().record == nullptr) return;
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return;
    ScriptEvent event;
    event.frame = frame;
    event.key = static_cast<unsigned>(msg.wParam);
    event.down = msg.message == WM_KEYDOWN;
    WriteRecordLine(FormatScriptEvent(event));
}

bool ScriptedRunFinished(unsigned long framesRun, bool headless, bool frameLimitSet) {
    const ScriptState& s = Script();
    if (!s.replaying || !headless || frameLimitSet) return false;
    if (s.next < s.events.size() || framesRun == 0) return false;
    const unsigned long lastFrame = s.events.empty() ? 0 : s.events.back().frame;
    if (framesRun - 1 < lastFrame) return false;
    if (s.restCheck != nullptr && s.restCheck()) return true;
    return framesRun - 1 >= lastFrame + kGraceFrames;
}

void AddScriptedRunOptions() {
    AddCommandLineOption({"--replay", "FILE", "feed the key events of an input script to the program",
                          [](CommandLine&, const std::string& path) {
                              std::string error;
                              if (LoadReplay(path, &error)) return true;
                              std::fprintf(stderr, "%s\n", error.c_str());
                              return false;
                          }});
    AddCommandLineOption({"--record", "FILE", "write the key events of this run as an input script",
                          [](CommandLine&, const std::string& path) {
                              std::string error;
                              if (StartRecording(path, &error)) return true;
                              std::fprintf(stderr, "%s\n", error.c_str());
                              return false;
                          }});
    AddCommandLineOption({"--trace", "", "print scene changes and notable events on standard output",
                          [](CommandLine&, const std::string&) {
                              SetTrace(true);
                              return true;
                          }});
}

}  // namespace shell
