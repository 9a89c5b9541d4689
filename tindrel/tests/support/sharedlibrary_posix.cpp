#include "support/sharedlibrary.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>

namespace quendral::test {

void* loadLibrary(const std::string& path, std::string* error) {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    *error = library == nullptr ? ::dlerror() : "";
    return library;
}

void* librarySymbol(void* library, const char* name) {
    return ::dlsym(library, name);
}

std::set<std::string> exportedNames(const std::string& path) {
    FILE* pipe = ::popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
    std::set<std::string> symbols;
    char line[512];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[64];
        char type[8];
        char name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) {
            symbols.insert(name);
        }
    }
    if (pipe == nullptr || ::pclose(pipe) != 0) {
        throw std::runtime_error("nm cannot read " + path);
    }
    return symbols;
}

void useSystemBackends() {
    ::unsetenv("KESTAL_EMULATOR");
}

} // namespace quendral::test
