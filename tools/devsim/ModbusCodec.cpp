#include "tools/devsim/ModbusCodec.h"

#include "libs/portlink/Crc16.h"

namespace corvane::devsim {

namespace {
constexpr int kMaxReadRegisters = 125;
constexpr int kMaxWriteRegisters = 123;

std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
void PutBe16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

Bytes ModbusCodec::Exception(std::uint8_t function, std::uint8_t code) {
  return {static_cast<std::uint8_t>(function | 0x80), code};
}

Bytes ModbusCodec::Answer(std::map<std::uint16_t, std::uint16_t>& registers, const std::uint8_t* pdu,
                          std::size_t size) {
  if (size < 1) return {};
  const std::uint8_t fn = pdu[0];
  if (fn == 3 || fn == kIdentityFunction) {
    if (size != 5) return Exception(fn, 3);
    const std::uint16_t start = Be16(pdu + 1);
    const std::uint16_t count = Be16(pdu + 3);
    if (count < 1 || count > kMaxReadRegisters) return Exception(fn, 3);
    if (start + count > 0x10000) return Exception(fn, 2);
    Bytes out{fn, static_cast<std::uint8_t>(count * 2)};
    for (int i = 0; i < count; ++i) {
      const auto it = registers.find(static_cast<std::uint16_t>(start + i));
      PutBe16(out, it == registers.end() ? 0 : it->second);
    }
    return out;
  }
  if (fn == 6) {
    if (size != 5) return Exception(fn, 3);
    registers[Be16(pdu + 1)] = Be16(pdu + 3);
    return Bytes(pdu, pdu + 5);
  }
  if (fn == 16) {
    if (size < 6) return Exception(fn, 3);
    const std::uint16_t start = Be16(pdu + 1);
    const std::uint16_t count = Be16(pdu + 3);
    if (count < 1 || count > kMaxWriteRegisters || pdu[5] != count * 2 || size != 6u + count * 2u)
      return Exception(fn, 3);
    if (start + count > 0x10000) return Exception(fn, 2);
    for (int i = 0; i < count; ++i) registers[static_cast<std::uint16_t>(start + i)] = Be16(pdu + 6 + 2 * i);
    return Bytes(pdu, pdu + 5);
  }
  return Exception(fn, 1);
}

Bytes ModbusCodec::FrameRtu(std::uint8_t station, const Bytes& pdu, bool badCheck) {
  Bytes out{station};
  out.insert(out.end(), pdu.begin(), pdu.end());
  std::uint16_t crc = Crc16Modbus(out.data(), out.size());
  if (badCheck) crc ^= 0x5A5A;
  out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  out.push_back(static_cast<std::uint8_t>(crc >> 8));
  return out;
}

std::uint8_t ModbusCodec::Lrc(const std::uint8_t* data, std::size_t size) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum = static_cast<std::uint8_t>(sum + data[i]);
  return static_cast<std::uint8_t>(-sum);
}

Bytes ModbusCodec::FrameAscii(std::uint8_t station, const Bytes& pdu, bool badCheck) {
  Bytes raw{station};
  raw.insert(raw.end(), pdu.begin(), pdu.end());
  std::uint8_t lrc = Lrc(raw.data(), raw.size());
  if (badCheck) lrc = static_cast<std::uint8_t>(lrc + 1);
  raw.push_back(lrc);
  static const char kHex[] = "0123456789ABCDEF";
  Bytes out{':'};
  for (std::uint8_t b : raw) {
    out.push_back(static_cast<std::uint8_t>(kHex[b >> 4]));
    out.push_back(static_cast<std::uint8_t>(kHex[b & 0xF]));
  }
  out.push_back('\r');
  out.push_back('\n');
  return out;
}

Bytes ModbusCodec::FrameTcp(std::uint16_t transaction, std::uint8_t unit, const Bytes& pdu) {
  Bytes out;
  PutBe16(out, transaction);
  PutBe16(out, 0);
  PutBe16(out, static_cast<std::uint16_t>(pdu.size() + 1));
  out.push_back(unit);
  out.insert(out.end(), pdu.begin(), pdu.end());
  return out;
}

bool ModbusCodec::RtuCrcOk(const std::uint8_t* frame, std::size_t size) {
  if (size < 4) return false;
  const std::uint16_t crc = Crc16Modbus(frame, size - 2);
  return frame[size - 2] == (crc & 0xFF) && frame[size - 1] == (crc >> 8);
}

bool ModbusCodec::DecodeAscii(const std::string& text, Bytes& adu) {
  if (text.size() < 6 || text.size() % 2 != 0) return false;
  Bytes raw;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    raw.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  if (Lrc(raw.data(), raw.size() - 1) != raw.back()) return false;
  raw.pop_back();
  adu = std::move(raw);
  return true;
}

}  // namespace corvane::devsim
