#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quendral::uvc {

// A device interface as Windows lists it, the texts UTF-8.
struct DeviceInterface {
    std::string path;
    std::string friendlyName;
    // The device's, which all its interfaces share.
    std::string instanceId;
};

// Where the Windows backend learns which capture devices exist, so that tests can stand in for
// SetupAPI and DirectShow.
class IDeviceDirectory {
public:
    virtual ~IDeviceDirectory() = default;

    // The present video capture interfaces, in the system's order. Throws util::WinException
    // when the system cannot be asked, as do the two below.
    virtual std::vector<DeviceInterface> videoCaptureInterfaces() = 0;
    // The paths of the present capture interfaces, video and audio.
    virtual std::vector<std::string> captureInterfacePaths() = 0;
    // The device paths of DirectShow's video input devices, as programs that capture video see
    // them.
    virtual std::vector<std::string> videoInputDevicePaths() = 0;
};

// SetupAPI's device interfaces and DirectShow's video inputs.
std::shared_ptr<IDeviceDirectory> systemDeviceDirectory();

// DirectShow's part of the system directory. Its headers and the kernel-streaming ones that
// SetupAPI's part needs for the category GUIDs cannot share a file.
std::vector<std::string> directShowVideoInputPaths();

} // namespace quendral::uvc
