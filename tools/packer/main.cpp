// kapack: builds a bitmap pack from every BMP file of a folder with the
// framework's own converter, so that a program can load its pictures from
// one file (kaDraw::SetPack, kaDraw::LoadPack).
//
//     kapack [--append] PACK BMPDIR
//
// PACK and BMPDIR are ordinary paths. The framework names files relative to
// the program's folder, and picture names (folder included) may have at most
// 30 characters, so the BMP folder should lie close to where kapack lives.
// Exit code 0, 1 when a picture could not be packed, 2 for a bad command line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/kaSystem.h"

namespace {

namespace fs = std::filesystem;

struct Request {
    bool append = false;
    std::string pack, bmpDir;
};

bool ParseArguments(int argc, char** argv, Request* request) {
    int i = 1;
    if (i < argc && std::string(argv[i]) == "--append") {
        request->append = true;
        ++i;
    }
    if (argc - i != 2) return false;
    request->pack = argv[i];
    request->bmpDir = argv[i + 1];
    return !request->pack.empty() && !request->bmpDir.empty();
}

// `path` relative to the program's folder, the way the framework takes names.
std::string FromProgramFolder(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(path), error);
    const fs::path folder = fs::weakly_canonical(fs::path(kaSystem::Directory(0)), error);
    std::string relative = absolute.lexically_relative(folder).generic_string();
    if (relative == ".") relative.clear();
    return relative;
}

}  // namespace

// ---- Init, convert, shut down -------------------------------------------------

int main(int argc, char** argv) {
    Request request;
    if (!ParseArguments(argc, argv, &request)) {
        std::fprintf(stderr, "usage: kapack [--append] PACK BMPDIR\n");
        return 2;
    }
    // No window: the converter's reports go to standard error.
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);

    const std::string pack = FromProgramFolder(request.pack);
    const std::string bmpDir = FromProgramFolder(request.bmpDir);
    if (!fs::is_directory(request.bmpDir)) {
        std::fprintf(stderr, "kapack: %s is not a folder\n", request.bmpDir.c_str());
        return 2;
    }
    kaDraw::ErrorCheck = 0;
    kaDraw::Convert(pack.c_str(), bmpDir.c_str(), request.append ? 0 : 1);

    std::error_code error;
    if (kaDraw::ErrorCheck != 0 || !fs::is_regular_file(request.pack, error)) {
        std::fprintf(stderr, "kapack: %s is incomplete\n", request.pack.c_str());
        return 1;
    }
    return 0;
}
