// Show: laid-out text revealed one character per time step, driven by the
// frame time.
#include <algorithm>

#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "text/TextInternal.h"

int kaFont::Show(float Wait) {
    if (!kafont::Ready()) return 1;
    const int count = std::clamp(FontCount, 0, kTextPosCount - 1);
    if (Wait == 0 || ShowCount > count) {
        const _textpos& t = TextPos[0];
        kaDraw::Layer(t.X1, t.Y1, 2, t.X1, t.Y1, t.X2, t.Y2);
        ShowCount = count + 1;
    } else {
        for (int i = 1; i < ShowCount && i < count; ++i) {
            const _textpos& t = TextPos[i];
            kaDraw::Layer(t.X1, t.Y1, 2, t.X1, t.Y1, t.X2, t.Y2);
        }
    }
    if (ShowCount > count) return 1;
    ShowWait += FrameTime;
    if (ShowWait >= Wait) {
        if (ShowCount <= count) ++ShowCount;
        ShowWait = 0;
    }
    return 0;
}
