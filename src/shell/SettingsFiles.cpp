// kaSystem's settings files (one decimal number each), the warning about a
// desktop with too few colours for a windowed run, and the debug log DEBUG.
//
// An installed program may sit in a folder nobody may write to: settings and
// the log then live in the user's data folder instead, and are read back
// from wherever they are written.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "draw/kaDraw.h"
#include "platform/Files.h"
#include "shell/DialogText.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace {

// Where a settings file of this name is written and read.
std::string SettingsPath(const char* FileName) {
    if (FileName == nullptr || FileName[0] == '\0') return std::string();
    const char* folder = kaSystem::Directory(1);
    return plat::WritablePath(folder != nullptr ? folder : "", FileName);
}

void SaveNumber(const char* FileName, int Mode) {
    const std::string path = SettingsPath(FileName);
    if (path.empty()) return;
    FILE* file = plat::OpenFile(path, "w");
    if (file == nullptr) return;
    std::fprintf(file, "%d", Mode);
    std::fclose(file);
}

// 0 when the file is missing or does not start with a number.
int LoadNumber(const char* FileName) {
    const std::string path = SettingsPath(FileName);
    if (path.empty()) return 0;
    FILE* file = plat::OpenFile(path, "r");
    if (file == nullptr) return 0;
    int value = 0;
    if (std::fscanf(file, "%d", &value) != 1) value = 0;
    std::fclose(file);
    return value;
}

}  // namespace

void kaSystem::SaveScreenMode(const char* FileName, int Mode) { SaveNumber(FileName, Mode); }
void kaSystem::SaveMidiMode(const char* FileName, int Mode) { SaveNumber(FileName, Mode); }
int kaSystem::LoadScreenMode(const char* FileName) { return LoadNumber(FileName); }
int kaSystem::LoadMidiMode(const char* FileName) { return LoadNumber(FileName); }

int kaSystem::WarningColorBit(const char* FileName) {
    // By pointer: "1670万" does not fit a short fixed-size entry in UTF-8.
    static const char* const kColorNames[] = {"16", "256", "65536", "1670万"};
    int colorListNo = 0;
    switch (kaDraw::ColorBit) {
        case 8: colorListNo = 1; break;
        case 16: colorListNo = 2; break;
        case 24:
        case 32: colorListNo = 3; break;
        default: return 1;
    }
    if (WindowMode() != 1 || ColorBit() >= kaDraw::ColorBit) return 1;

    const std::string format = std::string("　ウィンドウ状態で実行しようとしていますが、") +
                               "画面が%s色以下に設定されています。\n" + "正しく動作させるには、%s色以上に設定するか、" +
                               "フルスクリーンで実行させて下さい。";
    Message(format.c_str(), kColorNames[colorListNo - 1], kColorNames[colorListNo]);

    const std::string name = FileName != nullptr ? FileName : "";
    const char* question = nullptr;
    if (name == "*")
        question = "フルスクリーンに切り換えますか？";
    else if (!name.empty())
        question = "フルスクリーンに設定し直しますか？";
    if (question != nullptr && YesNo("%s", question) == 1) {
        if (name != "*") SaveScreenMode(FileName, 1);
        _FullScreen = 1;
        return 1;
    }
    kaDraw::Exit();
    return 0;
}

void DEBUG(const char* Format, ...) {
    // The log goes to the current folder, or the user's data folder when that
    // one is read-only. Opened and closed per line, so it survives a crash.
    const std::string path = plat::WritablePath("", "DEBUG.TXT");
    if (path.empty()) return;
    FILE* file = plat::OpenFile(path, "a");
    if (file == nullptr) return;
    char text[shell::kDialogTextSize];
    va_list args;
    va_start(args, Format);
    shell::FormatDialogText(text, Format, args);
    va_end(args);
    std::fputs(text, file);
    std::fclose(file);
}
