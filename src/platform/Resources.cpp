// The registry of resources compiled into the program. Tables register
// themselves from static initialisers, so the registry is created on first
// use rather than relying on the order in which those initialisers run.
#include "platform/Resources.h"

#include <vector>

namespace plat {

namespace {

struct Table {
    const ResourceEntry* entries;
    size_t count;
};

std::vector<Table>& Tables() {
    static std::vector<Table> tables;
    return tables;
}

bool EqualsIgnoreAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

}  // namespace

void RegisterResources(const ResourceEntry* entries, size_t count) {
    if (entries && count > 0) Tables().push_back({entries, count});
}

const ResourceEntry* FindResource(const char* name, const char* type) {
    if (!name || !type) return nullptr;
    // Newest table first: a table registered later (a test fixture, say)
    // overrides an entry of the same type and name.
    const std::vector<Table>& tables = Tables();
    for (auto table = tables.rbegin(); table != tables.rend(); ++table) {
        for (size_t i = 0; i < table->count; ++i) {
            const ResourceEntry& e = table->entries[i];
            if (e.name && e.type && EqualsIgnoreAsciiCase(e.type, type) && EqualsIgnoreAsciiCase(e.name, name)) {
                return &e;
            }
        }
    }
    return nullptr;
}

}  // namespace plat
