#pragma once
// Input of a line read with PARMRK: the terminal doubles a data byte 0xFF, and hands over a byte
// received with a parity or framing error as FF 00 <byte> (FF 00 00 is also a break). The
// decoder undoes that and marks the bytes that came with an error, across reads.
#include <cstddef>
#include <cstdint>

namespace corvane {

class LineMarks {
 public:
  // Decodes raw[n] into out (at most n bytes); bad[i] is 1 for a byte received with an error.
  // Returns the number of bytes written.
  std::size_t Decode(const std::uint8_t* raw, std::size_t n, std::uint8_t* out, std::uint8_t* bad);
  // Forgets a sequence cut off by the previous read (input flushed).
  void Reset() { m_state = State::kData; }

 private:
  enum class State { kData, kMark, kMarkZero };
  State m_state = State::kData;
};

}  // namespace corvane
