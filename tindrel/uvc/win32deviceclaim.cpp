#include "uvc/win32deviceclaim.h"

#include "common/win32text.h"

#include <algorithm>

namespace quendral::uvc {

namespace {

// In the global namespace, so that a program in another user's session is kept out as well.
// Instance ids ignore case, and an object's name may not hold a backslash after its namespace.
std::wstring objectName(const std::string& instanceId) {
    std::wstring id = util::toWide(instanceId);
    std::replace(id.begin(), id.end(), L'\\', L'#');
    CharUpperBuffW(id.data(), static_cast<DWORD>(id.size()));
    return L"Global\\TindrelDevice#" + id;
}

} // namespace

std::unique_ptr<DeviceClaim> DeviceClaim::take(const std::string& instanceId, bool* heldElsewhere) {
    *heldElsewhere = false;
    const HANDLE object = CreateMutexW(nullptr, FALSE, objectName(instanceId).c_str());
    const DWORD error = GetLastError();
    if (object != nullptr && error != ERROR_ALREADY_EXISTS) {
        return std::unique_ptr<DeviceClaim>(new DeviceClaim(object));
    }
    if (object != nullptr) {
        CloseHandle(object);
    }
    // Another user's holder keeps an object that this user may not even open.
    *heldElsewhere = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
    return nullptr;
}

DeviceClaim::~DeviceClaim() {
    CloseHandle(m_object);
}

} // namespace quendral::uvc
