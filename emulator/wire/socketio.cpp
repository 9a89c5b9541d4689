#include "socketio.h"

#include "wireprotocol.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>

namespace quendral::emulator::socketio {

namespace {

bool receiveExactly(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const auto n = ::recv(fd, data + done, size - done, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

bool fitsSocketAddress(const std::string& path) {
    return !path.empty() && path.size() < sizeof(sockaddr_un{}.sun_path);
}

UniqueFd connectTo(const std::string& path, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error != nullptr) {
            *error = what;
        }
        return UniqueFd{};
    };
    if (!fitsSocketAddress(path)) {
        return fail("socket path is empty or too long: " + path);
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        return fail(std::string("cannot create socket: ") + std::strerror(errno));
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int rc = 0;
    do {
        rc = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        return fail("cannot connect to " + path + ": " + std::strerror(errno));
    }
    return fd;
}

bool setTimeouts(int fd, int timeoutMs) {
    timeval tv{};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    return ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv)) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv)) == 0;
}

bool setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool sendAll(int fd, const std::vector<std::uint8_t>& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const auto n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

bool receiveFrame(int fd, std::vector<std::uint8_t>& payload) {
    std::uint8_t header[wire::kFrameHeaderBytes];
    if (!receiveExactly(fd, header, sizeof(header))) {
        return false;
    }
    const auto size = wire::announcedPayloadSize(header);
    if (!size) {
        return false;
    }
    payload.resize(*size);
    return receiveExactly(fd, payload.data(), *size);
}

} // namespace quendral::emulator::socketio
