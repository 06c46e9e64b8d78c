#pragma once
// Bounded little-endian cursor over untrusted bytes. A read that does not fit fails
// and leaves the position where it was.
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

class CByteReader {
public:
  explicit CByteReader(std::span<const std::uint8_t> data) noexcept : m_data(data) {}

  std::size_t Offset() const noexcept { return m_nPos; }
  std::size_t Remaining() const noexcept { return m_data.size() - m_nPos; }

  bool ReadU8(std::uint8_t& value) noexcept;
  bool ReadU16(std::uint16_t& value) noexcept;
  bool ReadU32(std::uint32_t& value) noexcept;
  bool ReadI32(std::int32_t& value) noexcept;
  // A view of the next count bytes; checked against what remains before anything is touched.
  bool ReadBytes(std::uint64_t count, std::span<const std::uint8_t>& out) noexcept;

private:
  std::span<const std::uint8_t> m_data;
  std::size_t m_nPos = 0;
};

}  // namespace corvane
