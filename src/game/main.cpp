// The game program: the shell runs start-up, the message loop and shutdown;
// the game adds the options of scripted runs (--replay, --record, --trace).
#include "shell/Globals.h"
#include "shell/ScriptedRun.h"

int main(int argc, char** argv) {
    shell::AddScriptedRunOptions();
    return kaRun(argc, argv);
}
