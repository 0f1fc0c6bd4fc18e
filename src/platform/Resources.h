// Resources compiled into the program: a table from (type, name) to bytes,
// names matched without regard to case. The build turns the files of
// resources/ into such tables and registers them before main runs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

struct ResourceEntry {
    const char* type;    // "BITMAP", "WAVE", "RCDATA", ...
    const char* name;    // upper-case file name without extension
    const uint8_t* data;
    size_t size;
};

// Called by the generated tables from a static initialiser.
void RegisterResources(const ResourceEntry* entries, size_t count);

// Looks a resource up by type and name (case-insensitive). Returns nullptr
// when there is none.
const ResourceEntry* FindResource(const char* name, const char* type);

}  // namespace plat
