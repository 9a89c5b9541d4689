#pragma once

// Small helpers around Unix stream sockets, shared by the daemon and its clients.

#include "uniquefd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quendral::emulator::socketio {

/// True when `path` fits into a socket address (with its terminating zero).
bool fitsSocketAddress(const std::string& path);

/// Connects a blocking, close-on-exec stream socket to `path`. Invalid with `error` set on
/// failure.
UniqueFd connectTo(const std::string& path, std::string* error);

/// Sets send and receive time-outs of a blocking socket, so a stuck peer cannot hang us.
bool setTimeouts(int fd, int timeoutMs);

bool setNonBlocking(int fd);

/// Sends everything on a blocking socket; never raises SIGPIPE.
bool sendAll(int fd, const std::vector<std::uint8_t>& data);

/// Reads one whole frame's payload from a blocking socket. False on end of stream, time-out,
/// error or an invalid length.
bool receiveFrame(int fd, std::vector<std::uint8_t>& payload);

} // namespace quendral::emulator::socketio
