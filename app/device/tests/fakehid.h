#pragma once

#include "hidapi.h"
#include "hidmonitor.h"

#include <map>
#include <string>
#include <vector>

// A scripted set of HID interfaces behind the hidapi table, for tests of the device layer and
// of what builds on it.
struct FakeInterface {
    std::string path;
    bool openable = true;
    unsigned char status = 0x00;
    int reportLength = 2;
    unsigned char reportId = 0;
    bool readFails = false;
};

struct FakeHid {
    std::vector<FakeInterface> interfaces;
    std::map<hid_device*, std::string> open;
    int enumerations = 0;
    int readyAtEnumeration = 0; // interfaces become openable from this enumeration on
    int reads = 0;
    int nextHandle = 1;

    FakeInterface* find(const std::string& path);

    // The one scripted state behind fakeHidApi().
    static FakeHid& instance();
};

const HidApi& fakeHidApi();

// Arrivals and removals the test announces itself.
class FakeHidMonitor : public HidMonitor {
public:
    explicit FakeHidMonitor(bool accepts = true)
        : accepts_(accepts) {}
    bool start() override { return started_ = accepts_; }
    bool isStarted() const override { return started_; }
    void arrive(const QString& path) { emit interfaceArrived(path); }
    void remove(const QString& path) { emit interfaceRemoved(path); }

private:
    bool accepts_;
    bool started_ = false;
};
