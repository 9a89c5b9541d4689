#include "util/pnplistenerlist.h"

#include <algorithm>

namespace quendral::util {

void PnpListenerList::add(IPnpListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_listeners.push_back(listener);
}

bool PnpListenerList::remove(IPnpListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (found == m_listeners.end()) {
        return false;
    }
    m_listeners.erase(found);
    return true;
}

void PnpListenerList::deliver(Change change, const std::string& path) {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const auto registered = m_listeners;
    for (IPnpListener* listener : registered) {
        // One that an earlier listener removed in the meantime is not called.
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end()) {
            continue;
        }
        if (change == Change::Arrived) {
            listener->deviceArrived(path);
        } else {
            listener->deviceRemoved(path);
        }
    }
}

} // namespace quendral::util
