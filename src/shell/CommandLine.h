// The program's command line: a table of options, each with a handler, and
// the positional arguments that become kaSystem::Parameter().
//
// Adding an option. A program (or a static initialiser in a library) calls
// shell::AddCommandLineOption before kaRun:
//
//     static bool gLoop = false;
//     int main(int argc, char** argv) {
//         shell::AddCommandLineOption({"--loop", "", "play the file in a loop",
//             [](shell::CommandLine&, const std::string&) { gLoop = true; return true; }});
//         return kaRun(argc, argv);
//     }
//
// An option with a value names it in `valueName` ("FILE", "N"); it is then
// given as "--name VALUE" or "--name=VALUE". The handler returns false to
// refuse the value: the program prints the option's help line (so say there
// what values it takes) and the usage line, and ends with code 2.
// Handlers may also fill the platform options in the CommandLine they get.
#pragma once

#include <functional>
#include <string>

#include "platform/Options.h"

namespace shell {

// What the command line asks for.
struct CommandLine {
    plat::Options platform;
    unsigned long frames = 0;  // after this many frames the program closes itself; 0: never
    std::string parameter;     // the positional arguments joined with spaces
    bool padKeys = true;       // the first game controller gives arrow keys, Z and Escape
};

struct CommandLineOption {
    std::string name;          // "--frames"
    std::string valueName;     // "N", "FILE"; empty for a switch
    std::string help;          // one line for --help
    std::function<bool(CommandLine& line, const std::string& value)> apply;
};

// Adds an option to the table; an option of the same name is replaced.
void AddCommandLineOption(CommandLineOption option);

enum class ParseOutcome {
    Run,         // go on with *line
    ExitOk,      // --help was given and answered
    UsageError,  // unknown option or bad value; reported on standard error
};

// Parses argv[1..argc-1]. Options and positional arguments may be mixed;
// "--" ends the options. Errors print a reason and the usage line on
// standard error.
ParseOutcome ParseCommandLine(int argc, char** argv, CommandLine* line);

// The program's name as the last ParseCommandLine saw it ("kasample").
std::string ProgramName();

// "usage: NAME [--headless] ... [ARG...]" from the current table.
std::string UsageLine(const std::string& programName);

// Copies `text` into a fixed buffer of `size` bytes, always terminated; a
// text that does not fit is cut at a character boundary (UTF-8), never in
// the middle of a multi-byte character.
void CopyBounded(char* buffer, size_t size, const std::string& text);

}  // namespace shell
