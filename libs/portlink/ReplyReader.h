#pragma once
// Waits for the reply to the request pending on a link and frames it. The wait starts when the
// request had left the line; the first byte is due within the device's response time, the whole
// reply within that plus its wire time at the line's speed (as far as its header tells).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "libs/portlink/Framing.h"

namespace corvane {

struct Link;

// What arrived while a reply was awaited, for the link tracer: the bytes as they came (noise and
// echo included, as far as the buffer kept them) and where the reply's frame lies in them.
struct ReplySeen {
  std::vector<std::uint8_t> bytes;
  std::size_t frameAt = 0, frameLength = 0;  // frameLength 0: no frame was found
};

// The reply's data bytes (into out[cap]) or a modbus::Result; info gets its function and exception,
// `seen` (when given) what arrived.
int ReadReply(Link& link, int responseMs, std::uint8_t* out, std::size_t cap, modbus::ReplyInfo& info,
              ReplySeen* seen = nullptr);

}  // namespace corvane
