#pragma once
// Waits for the reply to the request pending on a link and frames it. The wait starts when the
// request had left the line; the first byte is due within the device's response time, the whole
// reply within that plus its wire time at the line's speed (as far as its header tells).
#include <cstddef>
#include <cstdint>

#include "libs/portlink/Framing.h"

namespace corvane {

struct Link;

// The reply's data bytes (into out[cap]) or a modbus::Result; info gets its function and exception.
int ReadReply(Link& link, int responseMs, std::uint8_t* out, std::size_t cap, modbus::ReplyInfo& info);

}  // namespace corvane
