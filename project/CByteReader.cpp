#include "project/CByteReader.h"

namespace corvane {

bool CByteReader::ReadU8(std::uint8_t& value) noexcept {
  if (Remaining() < 1) return false;
  value = m_data[m_nPos++];
  return true;
}

bool CByteReader::ReadU16(std::uint16_t& value) noexcept {
  if (Remaining() < 2) return false;
  value = static_cast<std::uint16_t>(m_data[m_nPos] | (m_data[m_nPos + 1] << 8));
  m_nPos += 2;
  return true;
}

bool CByteReader::ReadU32(std::uint32_t& value) noexcept {
  if (Remaining() < 4) return false;
  value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | m_data[m_nPos + static_cast<std::size_t>(i)];
  m_nPos += 4;
  return true;
}

bool CByteReader::ReadI32(std::int32_t& value) noexcept {
  std::uint32_t u = 0;
  if (!ReadU32(u)) return false;
  value = static_cast<std::int32_t>(u);
  return true;
}

bool CByteReader::ReadBytes(std::uint64_t count, std::span<const std::uint8_t>& out) noexcept {
  if (count > Remaining()) return false;
  out = m_data.subspan(m_nPos, static_cast<std::size_t>(count));
  m_nPos += static_cast<std::size_t>(count);
  return true;
}

}  // namespace corvane
