#include "support/fakeuvcnode.h"

#include <linux/usb/video.h>

#include <cerrno>

namespace quendral::test {

int FakeUvcNodeState::handle(uvc_xu_control_query& request) {
    XuRequest record{request.unit, request.selector, request.query, {}};
    if (request.query == UVC_SET_CUR && request.data != nullptr) {
        record.written.assign(request.data, request.data + request.size);
    }
    requests.push_back(record);

    const auto control = controls.find(request.selector);
    if (request.unit != unitId || control == controls.end()) {
        return ENOENT;
    }
    switch (request.query) {
    case UVC_GET_LEN: {
        if (request.size != 2) {
            return ENOBUFS;
        }
        std::pair<int, std::uint16_t> answer{0, static_cast<std::uint16_t>(control->second.size())};
        if (!lengthScript.empty()) {
            answer = lengthScript.front();
            lengthScript.pop_front();
        }
        if (answer.first != 0) {
            return answer.first;
        }
        request.data[0] = static_cast<std::uint8_t>(answer.second & 0xff);
        request.data[1] = static_cast<std::uint8_t>(answer.second >> 8);
        return 0;
    }
    case UVC_GET_CUR:
    case UVC_SET_CUR:
        if (const int error = request.query == UVC_SET_CUR ? writeError : readError) {
            return error;
        }
        if (request.size != control->second.size()) {
            return ENOBUFS;
        }
        if (request.query == UVC_SET_CUR) {
            control->second = record.written;
        } else {
            std::copy(control->second.begin(), control->second.end(), request.data);
        }
        return 0;
    default:
        return EBADRQC;
    }
}

} // namespace quendral::test
