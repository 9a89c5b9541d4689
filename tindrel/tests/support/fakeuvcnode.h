#pragma once

#include "uvc/iuvcnode.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quendral::test {

using Bytes = std::vector<std::uint8_t>;

struct XuRequest {
    std::uint8_t unit = 0;
    std::uint8_t selector = 0;
    std::uint8_t query = 0;
    Bytes written; // what a SET_CUR carried
};

// A camera node as the uvcvideo driver presents it: the controls of one extension unit, each
// as long as its value. As in the driver, a request for another unit or selector fails with
// ENOENT and one whose size is not the control's (2 for UVC_GET_LEN) with ENOBUFS.
struct FakeUvcNodeState {
    std::uint8_t unitId = 6;
    std::map<std::uint8_t, Bytes> controls{{2, Bytes(8, 0)}};
    // Answers to UVC_GET_LEN used up, in order, before the control's own length is given:
    // {errno, 0} for a refusal, {0, length} for an answer.
    std::deque<std::pair<int, std::uint16_t>> lengthScript;
    int readError = 0;  // errno of every UVC_GET_CUR, 0 to answer
    int writeError = 0; // errno of every UVC_SET_CUR, 0 to accept
    std::vector<XuRequest> requests;

    int handle(uvc_xu_control_query& request);
};

class FakeUvcNode final : public uvc::IUvcNode {
public:
    explicit FakeUvcNode(std::shared_ptr<FakeUvcNodeState> state)
        : m_state(std::move(state)) {}
    int query(uvc_xu_control_query& request) override { return m_state->handle(request); }

private:
    std::shared_ptr<FakeUvcNodeState> m_state;
};

// Opens the nodes it has a state for; any other node does not open.
class FakeUvcNodeOpener final : public uvc::IUvcNodeOpener {
public:
    std::shared_ptr<FakeUvcNodeState> add(const std::string& devnode) {
        auto state = std::make_shared<FakeUvcNodeState>();
        m_nodes[devnode] = state;
        return state;
    }
    std::unique_ptr<uvc::IUvcNode> open(const std::string& devnode, bool*) override {
        m_opened.push_back(devnode);
        const auto found = m_nodes.find(devnode);
        if (found == m_nodes.end()) {
            return nullptr;
        }
        return std::make_unique<FakeUvcNode>(found->second);
    }
    const std::vector<std::string>& opened() const { return m_opened; }

private:
    std::map<std::string, std::shared_ptr<FakeUvcNodeState>> m_nodes;
    std::vector<std::string> m_opened;
};

} // namespace quendral::test
