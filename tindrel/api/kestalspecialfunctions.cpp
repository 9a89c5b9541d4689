#include "api/kestalspecialfunctions.h"

namespace quendral::fw::backend {

namespace {

class KestalSpecialFunctions final : public ISpecialFunctions {
public:
    explicit KestalSpecialFunctions(std::shared_ptr<fwupdate::backend::UpdateTask> task)
        : m_task(std::move(task)) {}

    void switchToUsb3() override { m_task->switchToUsb3(); }
    void switchToUsb2() override { m_task->switchToUsb2(); }
    bool isUsb3() override { return m_task->isUsb3(); }

private:
    std::shared_ptr<fwupdate::backend::UpdateTask> m_task;
};

} // namespace

std::unique_ptr<ISpecialFunctions>
makeKestalSpecialFunctions(std::shared_ptr<fwupdate::backend::UpdateTask> videoTask) {
    return std::make_unique<KestalSpecialFunctions>(std::move(videoTask));
}

} // namespace quendral::fw::backend
