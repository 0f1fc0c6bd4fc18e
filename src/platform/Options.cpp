// The platform layer's run-time choices, set once by the shell.
#include "platform/Options.h"

namespace plat {

namespace {
Options gOptions;
}

void SetOptions(const Options& options) {
    gOptions = options;
    if (gOptions.scale < 1) gOptions.scale = 1;
}

const Options& GetOptions() { return gOptions; }

}  // namespace plat
