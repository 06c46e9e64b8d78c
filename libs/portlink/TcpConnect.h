#pragma once
// TCP client connect with a bounded time-out (non-blocking connect + poll).
#include <cstdint>

#include "libs/portlink/UniqueFd.h"

namespace corvane {

// addressNet/portHost: IPv4 in network byte order, port in host order. Returns an open,
// non-blocking, TCP_NODELAY socket, or an invalid one (errorOut = errno value) on failure.
UniqueFd ConnectTcp(std::uint32_t addressNet, int port, int timeoutMs, int* errorOut = nullptr);

}  // namespace corvane
