#pragma once
// Root key handles with the platform's numbers, and the plain records that CRegistryAccess
// stores as raw bytes (little-endian 32-bit fields, packed).
#include <cstdint>

namespace corvane::comm {

using HKEY = std::uintptr_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

struct RegPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct RegSize {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
};

struct RegRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct RegWords3 {
  std::uint32_t w0 = 0;
  std::uint32_t w1 = 0;
  std::uint32_t w2 = 0;
};

// The platform's 60-byte font description: five 32-bit fields, eight bytes, a 32-byte face name.
struct RegFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  char faceName[32] = {};  // always zero-terminated after a read
};

inline constexpr int kRegFontBytes = 60;

}  // namespace corvane::comm
