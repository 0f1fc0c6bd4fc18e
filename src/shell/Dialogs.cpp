// kaSystem's message boxes: a formatted notice with an OK button and a
// formatted yes/no question, both restarting the frame clock afterwards, and
// the text formatting they share with the debug log.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/Display.h"
#include "platform/Window.h"
#include "shell/CommandLine.h"
#include "shell/DialogText.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace shell {

void FormatDialogText(char* text, const char* format, va_list args) {
    if (format == nullptr) format = "";
    va_list sizing;
    va_copy(sizing, args);
    const int needed = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    std::vector<char> formatted(needed > 0 ? static_cast<size_t>(needed) + 1 : 1, '\0');
    if (needed > 0) std::vsnprintf(formatted.data(), formatted.size(), format, args);
    // Room is left for the line end.
    CopyBounded(text, kDialogTextSize - 1, formatted.data());
    std::strcat(text, "\n");
}

}  // namespace shell

namespace {

int ShowBox(const char* text, unsigned flags) {
    if (DDObject != nullptr) plat::FlipToGDISurface();
    if (_ShowMouse == 0) {
        plat::SetCursorVisible(true);
        _ShowMouse = 1;
    }
    _ShowDialog = 1;
    const int answer = plat::MessageBox(hwnd, text, "メッセージ", flags);
    _ShowDialog = 0;
    kaSystem::InitFrame();  // the time the box was up is not frame time
    return answer;
}

}  // namespace

void kaSystem::Message(const char* Format, ...) {
    char text[shell::kDialogTextSize];
    va_list args;
    va_start(args, Format);
    shell::FormatDialogText(text, Format, args);
    va_end(args);
    ShowBox(text, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

int kaSystem::YesNo(const char* Format, ...) {
    char text[shell::kDialogTextSize];
    va_list args;
    va_start(args, Format);
    shell::FormatDialogText(text, Format, args);
    va_end(args);
    return ShowBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
}
