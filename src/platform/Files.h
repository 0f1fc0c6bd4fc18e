// File access with the original platform's naming rules: names may use
// backslashes and any letter case ("\music\op.WAV"); they are turned into
// paths of this system and matched against the files that exist.
#pragma once

#include <cstdio>
#include <string>

namespace plat {

// Full path of the running program file.
std::string ModuleFileName();

// The existing file or folder `path` names, with backslashes read as
// separators, repeated separators collapsed and every component matched
// without regard to case when no exact match exists. When nothing matches,
// the converted path itself (so that a new file can be created there).
std::string ResolvePath(const std::string& path);

// fopen through ResolvePath.
FILE* OpenFile(const std::string& path, const char* mode);

// Reads a whole file through ResolvePath, refusing files above maxBytes.
bool ReadFile(const std::string& path, std::string* bytes, size_t maxBytes = 256u << 20);

// The user's data folder for this program, ending in '/':
// $XDG_DATA_HOME/kasample/, else $HOME/.local/share/kasample/. Made (with its
// parents) on first use; empty when there is no such folder and none can be made.
std::string UserDataDir();

// True when a new file can be created in the existing folder `dir`.
bool IsWritableFolder(const std::string& dir);

// `name` in `preferredDir` when that folder is writable, else in UserDataDir()
// (installed programs live in read-only folders). Empty when neither works.
std::string WritablePath(const std::string& preferredDir, const std::string& name);

}  // namespace plat
