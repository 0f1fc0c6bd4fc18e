// Folder listing for the pack builder.
#include "platform/AudioFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <strings.h>

#include "platform/Files.h"

namespace plat {

std::vector<std::string> FindFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    std::string dir = ResolvePath(folder.empty() ? std::string(".") : folder);
    if (dir.empty()) dir = ".";
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return names;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() <= extension.size()) continue;
        if (strcasecmp(name.c_str() + name.size() - extension.size(), extension.c_str()) != 0) continue;
        struct stat st {};
        if (stat((dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace plat
