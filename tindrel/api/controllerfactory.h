#pragma once

#include "common/iupdatecontroller.h"

#include <functional>
#include <memory>

namespace quendral::fwupdate {

// How `initialize` obtains its controller. Tests install a factory to exercise the refusals
// that a real controller never gives; an empty one restores the UpdateController. May throw or
// return null, which `initialize` reports as a controller that could not be created.
using UpdateControllerFactory = std::function<std::unique_ptr<IUpdateController>()>;

void setUpdateControllerFactory(UpdateControllerFactory factory);
std::unique_ptr<IUpdateController> createUpdateController();

} // namespace quendral::fwupdate
