#include "controller/sysfspowerstatussource.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <vector>

namespace quendral::fwupdate::controller {

namespace {

constexpr std::uint8_t kNoBatteryInformation = 255;

std::string readAttribute(const std::string& path) {
    std::ifstream in(path);
    std::string value;
    std::getline(in, value);
    return value;
}

std::vector<std::string> listEntries(const std::string& root) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(root.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

SysfsPowerStatusSource::SysfsPowerStatusSource(std::string root)
    : m_root(std::move(root)) {}

std::optional<PowerStatus> SysfsPowerStatusSource::query() const {
    bool anyExternalSupply = false;
    bool anyExternalOnline = false;
    std::optional<int> capacity;
    for (const std::string& name : listEntries(m_root)) {
        const std::string dir = m_root + "/" + name + "/";
        const std::string type = readAttribute(dir + "type");
        if (type == "Mains" || type == "USB") {
            anyExternalSupply = true;
            anyExternalOnline = anyExternalOnline || readAttribute(dir + "online") == "1";
        } else if (type == "Battery" && !capacity) {
            try {
                capacity = std::stoi(readAttribute(dir + "capacity"));
            } catch (const std::exception&) {
                // A battery without a readable charge leaves the charge unknown.
            }
        }
    }
    PowerStatus status;
    status.acLineOnline = !anyExternalSupply || anyExternalOnline;
    status.batteryLifePercent = capacity.value_or(0);
    status.batteryFlag = capacity ? 0 : kNoBatteryInformation;
    return status;
}

std::unique_ptr<IPowerStatusSource> createPlatformPowerStatusSource() {
    return std::make_unique<SysfsPowerStatusSource>();
}

} // namespace quendral::fwupdate::controller
