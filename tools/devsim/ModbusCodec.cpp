#include "tools/devsim/ModbusCodec.h"

#include "libs/portlink/Crc16.h"
#include "tools/devsim/DeviceIdentity.h"

namespace corvane::devsim {

namespace {
constexpr int kMaxReadRegisters = 125;
constexpr int kMaxWriteRegisters = 123;
constexpr int kMaxReadBits = 2000;
constexpr int kMaxWriteBits = 1968;

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

namespace {

Bytes ReadBits(const std::map<std::uint16_t, bool>& table, const std::uint8_t* pdu, std::size_t size) {
  const std::uint8_t fn = pdu[0];
  if (size != 5) return ModbusCodec::Exception(fn, 3);
  const std::uint16_t start = Be16(pdu + 1);
  const std::uint16_t count = Be16(pdu + 3);
  if (count < 1 || count > kMaxReadBits) return ModbusCodec::Exception(fn, 3);
  if (start + count > 0x10000) return ModbusCodec::Exception(fn, 2);
  Bytes out{fn, static_cast<std::uint8_t>((count + 7) / 8)};
  out.resize(2u + out[1], 0);
  for (int i = 0; i < count; ++i) {
    const auto it = table.find(static_cast<std::uint16_t>(start + i));
    if (it != table.end() && it->second) out[2 + i / 8] = static_cast<std::uint8_t>(out[2 + i / 8] | (1u << (i % 8)));
  }
  return out;
}

Bytes ReadRegisters(const std::map<std::uint16_t, std::uint16_t>& table, const std::uint8_t* pdu, std::size_t size) {
  const std::uint8_t fn = pdu[0];
  if (size != 5) return ModbusCodec::Exception(fn, 3);
  const std::uint16_t start = Be16(pdu + 1);
  const std::uint16_t count = Be16(pdu + 3);
  if (count < 1 || count > kMaxReadRegisters) return ModbusCodec::Exception(fn, 3);
  if (start + count > 0x10000) return ModbusCodec::Exception(fn, 2);
  Bytes out{fn, static_cast<std::uint8_t>(count * 2)};
  for (int i = 0; i < count; ++i) {
    const auto it = table.find(static_cast<std::uint16_t>(start + i));
    PutBe16(out, it == table.end() ? 0 : it->second);
  }
  return out;
}

Bytes WriteCoils(std::map<std::uint16_t, bool>& coils, const std::uint8_t* pdu, std::size_t size) {
  const std::uint8_t fn = pdu[0];
  if (fn == 5) {
    const std::uint16_t value = size == 5 ? Be16(pdu + 3) : 1;
    if (value != 0xFF00 && value != 0x0000) return ModbusCodec::Exception(fn, 3);
    coils[Be16(pdu + 1)] = value == 0xFF00;
    return Bytes(pdu, pdu + 5);
  }
  if (size < 6) return ModbusCodec::Exception(fn, 3);
  const std::uint16_t start = Be16(pdu + 1);
  const std::uint16_t count = Be16(pdu + 3);
  if (count < 1 || count > kMaxWriteBits || pdu[5] != (count + 7) / 8 || size != 6u + pdu[5])
    return ModbusCodec::Exception(fn, 3);
  if (start + count > 0x10000) return ModbusCodec::Exception(fn, 2);
  for (int i = 0; i < count; ++i) coils[static_cast<std::uint16_t>(start + i)] = (pdu[6 + i / 8] >> (i % 8)) & 1;
  return Bytes(pdu, pdu + 5);
}

Bytes WriteRegisters(std::map<std::uint16_t, std::uint16_t>& registers, const std::uint8_t* pdu, std::size_t size) {
  const std::uint8_t fn = pdu[0];
  if (fn == 6) {
    if (size != 5) return ModbusCodec::Exception(fn, 3);
    registers[Be16(pdu + 1)] = Be16(pdu + 3);
    return Bytes(pdu, pdu + 5);
  }
  if (size < 6) return ModbusCodec::Exception(fn, 3);
  const std::uint16_t start = Be16(pdu + 1);
  const std::uint16_t count = Be16(pdu + 3);
  if (count < 1 || count > kMaxWriteRegisters || pdu[5] != count * 2 || size != 6u + count * 2u)
    return ModbusCodec::Exception(fn, 3);
  if (start + count > 0x10000) return ModbusCodec::Exception(fn, 2);
  for (int i = 0; i < count; ++i) registers[static_cast<std::uint16_t>(start + i)] = Be16(pdu + 6 + 2 * i);
  return Bytes(pdu, pdu + 5);
}

}  // namespace

Bytes ModbusCodec::Answer(DeviceTables& tables, const std::uint8_t* pdu, std::size_t size) {
  if (size < 1) return {};
  switch (pdu[0]) {
    case 1: return ReadBits(tables.coils, pdu, size);
    case 2: return ReadBits(tables.discrete, pdu, size);
    case 3:
    case kIdentityFunction: return ReadRegisters(tables.holding, pdu, size);
    case 4: return ReadRegisters(tables.input, pdu, size);
    case 5:
    case 15: return WriteCoils(tables.coils, pdu, size);
    case 6:
    case 16: return WriteRegisters(tables.holding, pdu, size);
    case kReadDeviceId: return DeviceIdentity::Answer(tables.ident, pdu, size);
    default: return Exception(pdu[0], 1);
  }
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
