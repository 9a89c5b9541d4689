#include "support/sharedlibrary.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace quendral::test {

void* loadLibrary(const std::string& path, std::string* error) {
    const HMODULE library = LoadLibraryA(path.c_str());
    *error = library == nullptr ? "LoadLibrary error " + std::to_string(GetLastError()) : "";
    return library;
}

void* librarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

// From the loaded image's export directory, which is what the loader resolves names against.
std::set<std::string> exportedNames(const std::string& path) {
    std::string error;
    const auto* base = static_cast<const BYTE*>(loadLibrary(path, &error));
    if (base == nullptr) {
        throw std::runtime_error(error);
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; directory.Size != 0 && i < exports->NumberOfNames; ++i) {
        found.insert(reinterpret_cast<const char*>(base + names[i]));
    }
    return found;
}

void useSystemBackends() {
    _putenv_s("KESTAL_EMULATOR", "");
}

} // namespace quendral::test
