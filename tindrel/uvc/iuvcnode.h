#pragma once

#include <linux/uvcvideo.h>

#include <memory>
#include <string>

namespace quendral::uvc {

// An open video node of the uvcvideo driver, reached only through the driver's extension-unit
// query. Everything the library sends to a camera on Linux passes this one call, so that tests
// can stand in for the driver.
class IUvcNode {
public:
    virtual ~IUvcNode() = default;

    // One UVCIOC_CTRL_QUERY. Returns 0 when the driver carried it out, else the errno it
    // refused it with.
    virtual int query(uvc_xu_control_query& request) = 0;
};

class IUvcNodeOpener {
public:
    virtual ~IUvcNodeOpener() = default;

    // Opens a video node for reading and writing, for this process alone; null when it cannot
    // be opened, with *heldElsewhere set when another process has it open.
    virtual std::unique_ptr<IUvcNode> open(const std::string& devnode, bool* heldElsewhere) = 0;
};

// Opens the system's nodes and sends the real ioctl.
std::shared_ptr<IUvcNodeOpener> systemUvcNodeOpener();

} // namespace quendral::uvc
