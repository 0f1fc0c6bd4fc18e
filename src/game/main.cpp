// The game program: the shell runs start-up, the message loop and shutdown.
#include "shell/Globals.h"

int main(int argc, char** argv) { return kaRun(argc, argv); }
