#pragma once

#include "api/ispecialfunctions.h"
#include "backend/updatetask.h"

#include <memory>

namespace quendral::fw::backend {

// The special functions of the Kestal device, carried out through the video task's connection.
// They keep the task alive as long as they exist.
std::unique_ptr<ISpecialFunctions>
makeKestalSpecialFunctions(std::shared_ptr<fwupdate::backend::UpdateTask> videoTask);

} // namespace quendral::fw::backend
