#include "support/fakesysfs.h"

#include <gtest/gtest.h>
#include <umockdev.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quendral::test {

namespace {

// NULL-terminated name/value array as umockdev takes it; the strings stay owned by `pairs`.
std::vector<const gchar*> flatten(const FakeSysfs::Pairs& pairs) {
    std::vector<const gchar*> flat;
    for (const auto& [name, value] : pairs) {
        flat.push_back(name.c_str());
        flat.push_back(value.c_str());
    }
    flat.push_back(nullptr);
    return flat;
}

// "1-2" (bus 1, port 2) -> /dev/bus/usb/001/002, taking the port for the device number.
std::string usbNode(const std::string& name) {
    const auto dash = name.find('-');
    char node[48];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", std::atoi(name.c_str()),
                  std::atoi(name.c_str() + dash + 1));
    return node;
}

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
    return text;
}

} // namespace

FakeSysfs::FakeSysfs() {
    const char* preload = std::getenv("LD_PRELOAD");
    m_active = preload != nullptr && std::strstr(preload, "umockdev-preload") != nullptr;
    if (!m_active) {
        ADD_FAILURE() << "this test must run under umockdev-wrapper";
        return;
    }
    m_testbed = umockdev_testbed_new();
}

FakeSysfs::~FakeSysfs() {
    if (m_testbed != nullptr) {
        g_object_unref(m_testbed);
    }
}

std::string FakeSysfs::addDevice(const std::string& subsystem, const std::string& name,
                                 const std::string& parent, const Pairs& attributes,
                                 const Pairs& properties) {
    const auto attributeArray = flatten(attributes);
    const auto propertyArray = flatten(properties);
    gchar* syspath = umockdev_testbed_add_devicev(
        m_testbed, subsystem.c_str(), name.c_str(), parent.empty() ? nullptr : parent.c_str(),
        const_cast<gchar**>(attributeArray.data()), const_cast<gchar**>(propertyArray.data()));
    const std::string copy = syspath != nullptr ? syspath : "";
    g_free(syspath);
    return copy;
}

std::string FakeSysfs::addUsbDevice(const std::string& name, std::uint16_t vendorId,
                                    std::uint16_t productId,
                                    const std::vector<std::uint8_t>& descriptors) {
    // The kernel writes PRODUCT without leading zeros: "3b7a/86c/100".
    char productProperty[32];
    std::snprintf(productProperty, sizeof productProperty, "%x/%x/100",
                  static_cast<unsigned>(vendorId), static_cast<unsigned>(productId));
    const std::string syspath = addDevice(
        "usb", name, "",
        {{"idVendor", hex4(vendorId)},
         {"idProduct", hex4(productId)},
         {"bConfigurationValue", "1"},
         {"product", "Kestal Capture"}},
        {{"DEVTYPE", "usb_device"}, {"PRODUCT", productProperty}, {"DEVNAME", usbNode(name)}});
    std::vector<std::uint8_t> bytes = descriptors;
    umockdev_testbed_set_attribute_binary(m_testbed, syspath.c_str(), "descriptors", bytes.data(),
                                          static_cast<gint>(bytes.size()));
    return syspath;
}

std::string FakeSysfs::addInterface(const std::string& usbDevice, int number) {
    char numberText[8];
    std::snprintf(numberText, sizeof numberText, "%02x", number);
    const std::string device = usbDevice.substr(usbDevice.rfind('/') + 1);
    return addDevice("usb", device + ":1." + std::to_string(number), usbDevice,
                     {{"bInterfaceNumber", numberText}}, {{"DEVTYPE", "usb_interface"}});
}

std::string FakeSysfs::addNode(const std::string& subsystem, const std::string& parent,
                               const std::string& sysname, const Pairs& attributes,
                               const Pairs& properties) {
    Pairs allProperties = properties;
    allProperties.emplace_back("DEVNAME", (subsystem == "sound" ? "/dev/snd/" : "/dev/") + sysname);
    return addDevice(subsystem, sysname, parent, attributes, allProperties);
}

void FakeSysfs::removeDevice(const std::string& syspath) {
    umockdev_testbed_remove_device(m_testbed, syspath.c_str());
}

void FakeSysfs::uevent(const std::string& syspath, const char* action) {
    umockdev_testbed_uevent(m_testbed, syspath.c_str(), action);
}

} // namespace quendral::test
