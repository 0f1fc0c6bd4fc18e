// kaplay: the smallest complete program on kaSound. It opens the screen,
// loads one WAV file with kaSound::LoadObject, plays it once (or loops it
// with --loop until Escape) and shows a progress bar; it ends when the sound
// has finished.
//
//     kaplay [--headless] [--audio-capture OUT.wav] [--loop] FILE.wav
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw/kaDraw.h"
#include "platform/AudioDevice.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"
#include "sound/kaSound.h"

namespace {

bool gLoop = false;
int gSound = -1;
int gExitCode = 0;
std::string gLink;  // a temporary link next to the program, when one was needed

std::string Absolute(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

// The loaders take names relative to the program's folder, of at most 30
// characters. A file elsewhere is reached by a relative path when that is
// short enough, else through a short link placed in the program's folder.
std::string NameForLoader(const std::string& file) {
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
    if (relative.size() <= 30) return relative;
    gLink = ".kaplay" + std::to_string(getpid()) + ".wav";
    unlink((dir + gLink).c_str());
    if (symlink(target.c_str(), (dir + gLink).c_str()) != 0) return relative;
    return gLink;
}

}  // namespace

// ---- Init ---------------------------------------------------------------------

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    const std::string file = kaSystem::Parameter();
    if (file.empty()) {
        std::fprintf(stderr, "usage: kaplay [--headless] [--audio-capture OUT.wav] [--loop] FILE.wav\n");
        gExitCode = 2;
        kaDraw::Exit();
        return;
    }
    if (!kaSound::Ok) std::fprintf(stderr, "kaplay: no sound device, playing silently\n");
    const std::string name = NameForLoader(file);
    gSound = kaSound::LoadObject(name.c_str(), 1);
    if (!gLink.empty()) unlink((std::string(kaSystem::Directory(0)) + gLink).c_str());
    if (gSound < 0) {
        std::fprintf(stderr, "kaplay: cannot play %s\n", file.c_str());
        gExitCode = 1;
        kaDraw::Exit();
        return;
    }
    if (gLoop) {
        kaSound::Loop(gSound, -1);
    } else {
        kaSound::Play(gSound, -1);
    }
    _ScreenNo = 1;
}

// ---- Update and draw ------------------------------------------------------------

void MainScreen() {
    if (gSound < 0) return;
    plat::SoundBuffer* buffer = DSBuff2[gSound][0];
    if (!plat::SoundBufferPlaying(buffer)) {
        kaDraw::Exit();
        return;
    }
    const unsigned long size = plat::GetSoundSize(buffer);
    const unsigned long pos = kaSound::GetPos(gSound);
    const int width = size > 0 ? static_cast<int>(static_cast<unsigned long long>(pos) * 600 / size) : 0;
    kaDraw::Clear();
    kaDraw::ColorFill(20, 220, 620, 260, static_cast<uint16_t>(kaDraw::WhiteRGB & kaDraw::MaskB));
    kaDraw::ColorFill(20, 220, 20 + width, 260, static_cast<uint16_t>(kaDraw::WhiteRGB));
    kaDraw::Refresh();
}

// ---- Main -----------------------------------------------------------------------

int main(int argc, char** argv) {
    shell::AddCommandLineOption({"--loop", "", "loop the sound until Escape",
                                 [](shell::CommandLine&, const std::string&) {
                                     gLoop = true;
                                     return true;
                                 }});
    const int result = kaRun(argc, argv);
    return result != 0 ? result : gExitCode;
}
