#pragma once

#include <set>
#include <string>

namespace quendral::test {

// The shipped library through the platform's loader, loaded for the rest of the process (the
// library keeps its engine state until then); null with *error set when it does not load.
void* loadLibrary(const std::string& path, std::string* error);
void* librarySymbol(void* library, const char* name);

// The names the file exports. Throws std::runtime_error when it cannot be read.
std::set<std::string> exportedNames(const std::string& path);

// Lets the library use the system's backends, as it does when it ships.
void useSystemBackends();

} // namespace quendral::test
