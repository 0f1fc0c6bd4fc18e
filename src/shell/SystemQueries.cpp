// kaSystem's queries: the program folder (optionally redirected to an
// installation folder), the command line, the display depth and window mode,
// free disk space and memory, date and time, and the platform version.
//
// On this system '/' separates folders where the program's original home
// used the backslash; folder paths returned here end in '/'.
#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/Display.h"
#include "platform/Files.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace {

// The folder where system-wide settings live, in the role the Windows folder
// had: the one-line installation files that CheckInstall reads are there.
constexpr const char* kSystemFolder = "/etc";

// The folder of the program file, ending in '/'.
std::string ProgramFolder() {
    std::string folder = plat::ModuleFileName();
    folder.erase(folder.rfind('/') + 1);  // npos + 1 == 0: no folder at all
    return folder;
}

}  // namespace

char kaSystem::InstallDirectory[256];

char* kaSystem::Directory(int Install) {
    // The result lives here until the next call. Folders longer than the
    // buffer are cut at a character boundary.
    static char Buffer[256];
    static char InstName[128];

    const std::string folder = ProgramFolder();
    if (Install == 0 || InstallDirectory[0] == '\0') {
        shell::CopyBounded(Buffer, sizeof Buffer, folder);
        return Buffer;
    }
    // The program folder's own name, e.g. "B/" of "/A/B/", is kept below the
    // installation folder.
    if (folder.size() >= 2) {
        const size_t previous = folder.rfind('/', folder.size() - 2);
        if (previous != std::string::npos) shell::CopyBounded(InstName, sizeof InstName, folder.substr(previous + 1));
    }
    shell::CopyBounded(Buffer, sizeof Buffer, std::string(InstallDirectory) + "/" + InstName);
    return Buffer;
}

void kaSystem::CheckInstall(const char* FileName) {
    std::string path = kSystemFolder;
    if (path.size() > 3) path += '/';
    path += FileName != nullptr ? FileName : "";

    InstallDirectory[0] = '\0';
    FILE* file = plat::OpenFile(path, "r");
    if (file == nullptr) return;
    char line[256];
    if (std::fgets(line, sizeof line, file) == nullptr) line[0] = '\0';
    std::fclose(file);

    size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
    // A file written on the original platform ends its line with CR LF.
    if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
    if (length > 0 && (line[length - 1] == '/' || line[length - 1] == '\\')) line[--length] = '\0';
    shell::CopyBounded(InstallDirectory, sizeof InstallDirectory, line);
}

char* kaSystem::Parameter() { return _CommandLine; }

int kaSystem::ColorBit() { return plat::DisplayBitsPerPixel(); }

int kaSystem::WindowMode() { return _FullScreen == 0 ? 1 : 0; }

// There are no drive letters here: the free space is that of the file system
// holding the program folder, whatever Drive says. The count is the space an
// ordinary user may fill, in full (it does not wrap at 4 GB).
unsigned long kaSystem::FreeDisk(char) {
    struct statvfs info;
    if (statvfs(ProgramFolder().c_str(), &info) != 0) return 0;
    return static_cast<unsigned long>(info.f_bavail) * static_cast<unsigned long>(info.f_frsize);
}

// Memory that programs can still get without swapping (MemAvailable); the
// kernel's plain free count when that line is missing.
unsigned long kaSystem::FreeMemory() {
    if (FILE* file = std::fopen("/proc/meminfo", "r")) {
        char line[128];
        unsigned long kib = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, file) != nullptr) {
            found = std::sscanf(line, "MemAvailable: %lu kB", &kib) == 1;
        }
        std::fclose(file);
        if (found) return kib * 1024ul;
    }
    struct sysinfo info;
    if (sysinfo(&info) != 0) return 0;
    return static_cast<unsigned long>(info.freeram) * info.mem_unit;
}

// Week receives the day of the week as one UTF-8 character (three bytes)
// and a terminator: it must hold at least 4 bytes.
void kaSystem::GetDate(int* Year, int* Month, int* Day, char* Week) {
    // CP932, two bytes and the terminator: callers keep the weekday in three
    // bytes, and every text function reads CP932.
    static const char* const kWeekDays[7] = {"\x93\xfa", "\x8c\x8e", "\x89\xce", "\x90\x85",
                                             "\x96\xd8", "\x8b\xe0", "\x93\x79"};
    const time_t now = std::time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    if (Year != nullptr) *Year = local.tm_year + 1900;
    if (Month != nullptr) *Month = local.tm_mon + 1;
    if (Day != nullptr) *Day = local.tm_mday;
    if (Week != nullptr) std::strcpy(Week, kWeekDays[local.tm_wday % 7]);
}

void kaSystem::GetTime(int* Hour, int* Minute, int* Second) {
    const time_t now = std::time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    if (Hour != nullptr) *Hour = local.tm_hour;
    if (Minute != nullptr) *Minute = local.tm_min;
    if (Second != nullptr) *Second = local.tm_sec;
}

// Not a Windows system: the code for an unrecognised platform.
int kaSystem::GetWindowsVersion() { return -1; }
