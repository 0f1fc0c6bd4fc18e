// kamidi: the smallest complete program on kaMusic. It opens the screen,
// plays one standard MIDI file with kaMusic::Play (looping with --loop until
// Escape), shows the tune's name, the time played and a progress bar, and
// ends when the tune has played to its end.
//
//     kamidi [--headless] [--audio-capture OUT.wav] [--loop] FILE.mid
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "TinyFont.h"
#include "draw/kaDraw.h"
#include "platform/Mci.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

namespace {

bool gLoop = false;
bool gPlaying = false;
int gExitCode = 0;
std::string gTitle;
std::string gLink;  // a temporary link in the program's folder, when one was needed

std::string Absolute(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

// kaMusic takes names relative to the program's folder, and the whole path
// must fit its command. A file elsewhere is reached by a relative path, or
// through a short link in the program's folder when that would be too long.
std::string NameForMusic(const std::string& file) {
    const std::string target = Absolute(file);
    std::string dir = Absolute(kaSystem::Directory(0));
    if (!dir.empty() && dir.back() != '/') dir += '/';
    size_t common = 0;
    for (size_t i = 0; i < dir.size() && i < target.size() && dir[i] == target[i]; ++i) {
        if (dir[i] == '/') common = i + 1;
    }
    std::string relative;
    for (size_t i = common; i < dir.size(); ++i) {
        if (dir[i] == '/') relative += "../";
    }
    relative += target.substr(common);
    if (std::string(kaSystem::Directory(0)).size() + relative.size() < 200) return relative;
    gLink = ".kamidi" + std::to_string(getpid()) + ".mid";
    unlink((dir + gLink).c_str());
    if (symlink(target.c_str(), (dir + gLink).c_str()) != 0) return relative;
    return gLink;
}

unsigned long Query(const char* what) {
    char reply[32];
    const std::string command = std::string("status midi ") + what;
    if (plat::MciSendString(command.c_str(), reply, sizeof reply, nullptr) != plat::kMciOk) return 0;
    return std::strtoul(reply, nullptr, 10);
}

std::string Clock(unsigned long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu:%02lu.%lu", ms / 60000, ms / 1000 % 60, ms / 100 % 10);
    return text;
}

std::string Stem(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 ? name.substr(0, dot) : name;
}

void Quit(int code) {
    gExitCode = code;
    kaDraw::Exit();
}

}  // namespace

// ---- Init ---------------------------------------------------------------------

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    const std::string file = kaSystem::Parameter();
    if (file.empty()) {
        std::fprintf(stderr, "usage: kamidi [--headless] [--audio-capture OUT.wav] [--loop] FILE.mid\n");
        return Quit(2);
    }
    if (!kaSound::Ok) {
        std::fprintf(stderr, "kamidi: no sound output (try --audio-capture or SDL_AUDIODRIVER=dummy)\n");
        return Quit(1);
    }
    const std::string name = NameForMusic(file);
    kaMusic::Play(name.c_str(), gLoop ? 1 : 0);
    if (!gLink.empty()) unlink((std::string(kaSystem::Directory(0)) + gLink).c_str());
    char mode[32];
    if (plat::MciSendString("status midi mode", mode, sizeof mode, nullptr) != plat::kMciOk) {
        std::fprintf(stderr, "kamidi: cannot play %s\n", file.c_str());
        kaMusic::Stop();
        return Quit(1);
    }
    gTitle = Stem(file);
    plat::SetWindowTitle(hwnd, ("kamidi - " + gTitle).c_str());
    gPlaying = true;
    _ScreenNo = 1;
}

// ---- Update and draw ------------------------------------------------------------

void MainScreen() {
    if (!gPlaying) return;
    if (kaMusic::PlayMusic == 0) {  // played to its end and closed by Replay
        gPlaying = false;
        kaDraw::Exit();
        return;
    }
    const unsigned long length = Query("length");
    const unsigned long position = Query("position");
    const int width = length > 0 ? static_cast<int>(static_cast<unsigned long long>(position) * 600 / length) : 0;
    const uint16_t white = static_cast<uint16_t>(kaDraw::WhiteRGB);
    const uint16_t blue = static_cast<uint16_t>(kaDraw::WhiteRGB & kaDraw::MaskB);
    kaDraw::Clear();
    kamidi::DrawText(20, 140, 4, white, gTitle);
    std::string times = Clock(position) + " / " + Clock(length);
    if (gLoop) times += kaMusic::LoopMusic ? "  LOOPED" : "  LOOP";
    kamidi::DrawText(20, 190, 2, white, times);
    kaDraw::ColorFill(20, 220, 620, 260, blue);
    kaDraw::ColorFill(20, 220, 20 + width, 260, white);
    kamidi::DrawText(20, 280, 2, blue, gLoop ? "ESC: STOP" : "ESC: QUIT");
    kaDraw::Refresh();
}

// ---- Main -----------------------------------------------------------------------

int main(int argc, char** argv) {
    shell::AddCommandLineOption({"--loop", "", "loop the tune until Escape",
                                 [](shell::CommandLine&, const std::string&) {
                                     gLoop = true;
                                     return true;
                                 }});
    const int result = kaRun(argc, argv);
    return result != 0 ? result : gExitCode;
}
