// The option table of the command line, its parser and usage text, and the
// bounded copy used for the command-line buffer.
#include "shell/CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace shell {
namespace {

// Parses a whole decimal number in [minValue, maxValue].
bool ParseNumber(const std::string& text, unsigned long minValue, unsigned long maxValue, unsigned long* out) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < minValue || value > maxValue) return false;
    *out = value;
    return true;
}

std::vector<CommandLineOption> BuiltInOptions() {
    return {
        {"--headless", "", "no window and no audio device; a virtual 60 Hz clock",
         [](CommandLine& l, const std::string&) {
             l.platform.headless = true;
             return true;
         }},
        {"--frames", "N", "close the program after N frames, N from 1 to 4294967295 (exit code 0)",
         [](CommandLine& l, const std::string& v) { return ParseNumber(v, 1, 0xFFFFFFFFul, &l.frames); }},
        {"--screenshot", "FILE", "at exit, write the last frame shown as a 24-bit BMP",
         [](CommandLine& l, const std::string& v) {
             l.platform.screenshot = v;
             return !v.empty();
         }},
        {"--windowed", "", "run in a window instead of full screen",
         [](CommandLine& l, const std::string&) {
             l.platform.windowed = true;
             return true;
         }},
        {"--scale", "N", "window size in multiples of 640x480 (1 to 8)",
         [](CommandLine& l, const std::string& v) {
             unsigned long n = 0;
             if (!ParseNumber(v, 1, 8, &n)) return false;
             l.platform.scale = static_cast<int>(n);
             return true;
         }},
        {"--rgb555", "", "5-5-5 surfaces instead of 5-6-5",
         [](CommandLine& l, const std::string&) {
             l.platform.rgb555 = true;
             return true;
         }},
        {"--audio-capture", "FILE", "write everything the mixer plays to a WAV file",
         [](CommandLine& l, const std::string& v) {
             l.platform.audioCapture = v;
             return !v.empty();
         }},
        {"--no-pad-keys", "", "do not turn the first gamepad into arrow keys, Z and Escape",
         [](CommandLine& l, const std::string&) {
             l.padKeys = false;
             return true;
         }},
        {"--answer", "yes|no", "answer to yes/no questions where no box can be shown (default yes)",
         [](CommandLine& l, const std::string& v) {
             l.platform.answerNo = v == "no";
             return v == "yes" || v == "no";
         }},
    };
}

std::vector<CommandLineOption>& Table() {
    static std::vector<CommandLineOption> table = BuiltInOptions();
    return table;
}

const CommandLineOption* Find(const std::string& name) {
    for (const CommandLineOption& option : Table()) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

std::string& LastProgramName() {
    static std::string name = "kasample";
    return name;
}

std::string BaseName(const char* path) {
    if (path == nullptr || *path == '\0') return "kasample";
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

void PrintHelp(const std::string& program) {
    std::printf("%s\n\n", UsageLine(program).c_str());
    for (const CommandLineOption& option : Table()) {
        std::string head = option.name;
        if (!option.valueName.empty()) head += " " + option.valueName;
        std::printf("  %-22s %s\n", head.c_str(), option.help.c_str());
    }
    std::printf("  %-22s %s\n", "ARG...", "handed to the program as its command line");
}

ParseOutcome Refuse(const std::string& program, const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n%s\n", program.c_str(), reason.c_str(), UsageLine(program).c_str());
    return ParseOutcome::UsageError;
}

}  // namespace

void AddCommandLineOption(CommandLineOption option) {
    for (CommandLineOption& existing : Table()) {
        if (existing.name == option.name) {
            existing = std::move(option);
            return;
        }
    }
    Table().push_back(std::move(option));
}

std::string ProgramName() { return LastProgramName(); }

std::string UsageLine(const std::string& programName) {
    std::string line = "usage: " + programName;
    for (const CommandLineOption& option : Table()) {
        line += " [" + option.name;
        if (!option.valueName.empty()) line += " " + option.valueName;
        line += "]";
    }
    return line + " [ARG...]";
}

ParseOutcome ParseCommandLine(int argc, char** argv, CommandLine* line) {
    *line = CommandLine{};
    const std::string program = BaseName(argc > 0 ? argv[0] : nullptr);
    LastProgramName() = program;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] != nullptr ? argv[i] : "";
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (!line->parameter.empty()) line->parameter += ' ';
            line->parameter += arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            PrintHelp(program);
            return ParseOutcome::ExitOk;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const CommandLineOption* option = Find(name);
        if (option == nullptr) return Refuse(program, "unknown option '" + name + "'");

        std::string value;
        if (!option->valueName.empty()) {
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < argc && argv[i + 1] != nullptr) {
                value = argv[++i];
            } else {
                return Refuse(program, "option '" + name + "' needs a value " + option->valueName);
            }
        } else if (equals != std::string::npos) {
            return Refuse(program, "option '" + name + "' takes no value");
        }
        if (option->apply && !option->apply(*line, value)) {
            return Refuse(program, "bad value '" + value + "' for option '" + name + "' (" + name +
                                       (option->valueName.empty() ? "" : " " + option->valueName) + ": " +
                                       option->help + ")");
        }
    }
    return ParseOutcome::Run;
}

void CopyBounded(char* buffer, size_t size, const std::string& text) {
    if (size == 0) return;
    size_t length = text.size() < size - 1 ? text.size() : size - 1;
    if (length < text.size()) {
        // Step back over continuation bytes (10xxxxxx) to the start of the
        // character that does not fit.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace shell
