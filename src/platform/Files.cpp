// File access for names written the Windows way: backslashes, any letter
// case. Names are matched component by component against what exists on
// disk; reading a whole file is bounded so a huge or endless file is refused.
#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace plat {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoreAsciiCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return b[i] == '\0';
}

// The entry of `dir` that equals `name` without regard to ASCII case. When
// several do (Foo and FOO side by side), the byte-wise smallest wins so the
// answer does not depend on the order the directory lists them in.
bool FindIgnoringCase(const std::string& dir, const std::string& name, std::string* found) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool any = false;
    while (const dirent* e = ::readdir(d)) {
        if (!EqualsIgnoreAsciiCase(name, e->d_name)) continue;
        if (!any || std::string(e->d_name) < *found) *found = e->d_name;
        any = true;
    }
    ::closedir(d);
    return any;
}

}  // namespace

std::string ModuleFileName() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
        if (buffer.size() >= (1u << 16)) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string ResolvePath(const std::string& path) {
    // Split into components; '\' and '/' both separate, runs count as one.
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);

    const bool absolute = !path.empty() && (path[0] == '\\' || path[0] == '/');
    const bool trailingSeparator = !path.empty() && (path.back() == '\\' || path.back() == '/');

    std::string result = absolute ? "/" : "";
    bool matching = true;  // false once a component is missing: nothing below it can exist
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string chosen = part;
        if (matching && part != "." && part != ".." && !Exists(result + part)) {
            std::string found;
            if (FindIgnoringCase(result, part, &found)) {
                chosen = found;
            } else {
                matching = false;
            }
        }
        result += chosen;
        if (i + 1 < parts.size()) result += '/';
    }
    if (trailingSeparator && !parts.empty()) result += '/';
    return result;
}

FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(ResolvePath(path).c_str(), mode); }

bool ReadFile(const std::string& path, std::string* bytes, size_t maxBytes) {
    bytes->clear();
    int fd = ::open(ResolvePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // The size from fstat is only a hint (pipes and /proc report 0, a file
    // may grow while we read): the buffer grows with what actually arrives
    // and never past maxBytes.
    if (S_ISREG(st.st_mode)) {
        if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
            ::close(fd);
            return false;
        }
        bytes->reserve(static_cast<size_t>(st.st_size));
    }
    char chunk[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        if (static_cast<size_t>(n) > maxBytes - bytes->size()) {
            ok = false;
            break;
        }
        bytes->append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok) {
        bytes->clear();
        bytes->shrink_to_fit();
    }
    return ok;
}

namespace {

// mkdir -p: true when `dir` exists as a folder afterwards.
bool MakeFolders(const std::string& dir) {
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && dir[i] != '/') continue;
        std::string prefix = dir.substr(0, i);
        if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string UserDataDir() {
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else if (home && home[0] == '/') {
        base = std::string(home) + "/.local/share";
    } else {
        return std::string();
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string dir = base + "/kasample";
    if (!MakeFolders(dir)) return std::string();
    return dir + "/";
}

bool IsWritableFolder(const std::string& dir) {
    std::string path = ResolvePath(dir.empty() ? "." : dir);
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string WritablePath(const std::string& preferredDir, const std::string& name) {
    if (IsWritableFolder(preferredDir)) return preferredDir + name;
    std::string user = UserDataDir();
    return user.empty() ? std::string() : user + name;
}

}  // namespace plat
