#include "libs/portlink/ModbusFrame.h"

#include <cstring>

#include "libs/portlink/Crc16.h"

namespace corvane::modbus {

const char* ResultText(int result) {
  switch (result) {
    case kTimeout: return "time-out";
    case kChecksum: return "bad checksum";
    case kStation: return "reply from another station";
    case kFunction: return "reply to another function";
    case kException: return "exception reply";
    case kByteCount: return "byte count does not fit";
    case kTransaction: return "wrong transaction or protocol id";
    case kTruncated: return "truncated frame";
    case kNotOpen: return "link not open";
    case kBadArgument: return "bad argument";
    case kIo: return "transport failure";
    case kIncomplete: return "frame incomplete";
    default: return result > 0 ? "ok" : "unknown error";
  }
}

const char* ExceptionName(int code) {
  switch (code) {
    case 1: return "illegal function";
    case 2: return "illegal data address";
    case 3: return "illegal data value";
    case 4: return "server device failure";
    case 5: return "acknowledge";
    case 6: return "server device busy";
    case 8: return "memory parity error";
    case 10: return "gateway path unavailable";
    case 11: return "gateway target device failed to respond";
    default: return "";
  }
}

std::uint8_t Lrc(const std::uint8_t* data, std::size_t n) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum = static_cast<std::uint8_t>(sum + data[i]);
  return static_cast<std::uint8_t>(-sum);
}

std::vector<std::uint8_t> EncodeRtu(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n) {
  if (n + 1 > kMaxPdu || (n > 0 && data == nullptr)) return {};
  std::vector<std::uint8_t> f;
  f.reserve(n + 4);
  f.push_back(station);
  f.push_back(function);
  f.insert(f.end(), data, data + n);
  const std::uint16_t crc = Crc16Modbus(f.data(), f.size());
  f.push_back(static_cast<std::uint8_t>(crc & 0xFF));  // CRC goes low byte first
  f.push_back(static_cast<std::uint8_t>(crc >> 8));
  return f;
}

std::vector<std::uint8_t> EncodeAscii(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n) {
  if (n + 1 > kMaxPdu || (n > 0 && data == nullptr)) return {};
  std::vector<std::uint8_t> raw;
  raw.push_back(station);
  raw.push_back(function);
  raw.insert(raw.end(), data, data + n);
  raw.push_back(Lrc(raw.data(), raw.size()));
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::vector<std::uint8_t> f;
  f.reserve(raw.size() * 2 + 3);
  f.push_back(':');
  for (std::uint8_t b : raw) {
    f.push_back(static_cast<std::uint8_t>(kHex[b >> 4]));
    f.push_back(static_cast<std::uint8_t>(kHex[b & 15]));
  }
  f.push_back('\r');
  f.push_back('\n');
  return f;
}

std::vector<std::uint8_t> EncodeTcp(std::uint16_t transaction, std::uint8_t unit, std::uint8_t function,
                                    const std::uint8_t* data, std::size_t n) {
  if (n + 1 > kMaxPdu || (n > 0 && data == nullptr)) return {};
  const std::size_t length = n + 2;  // unit + function + data
  std::vector<std::uint8_t> f{static_cast<std::uint8_t>(transaction >> 8), static_cast<std::uint8_t>(transaction),
                              0, 0, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length),
                              unit, function};
  f.insert(f.end(), data, data + n);
  return f;
}

namespace {

// Data bytes of the replies whose size the function fixes (no byte count); -1 for the others.
int FixedAnswer(std::uint8_t function) {
  switch (function) {
    case 5: case 6: case 8: case 11: case 15: case 16: return 4;
    case 22: return 6;
    case 7: return 1;
    default: return -1;
  }
}

// Read device identification: MEI type 14, read code, conformity, more follows, next object,
// object count, then per object its id, length and value.
std::size_t DeviceIdLength(const std::uint8_t* pdu, std::size_t n) {
  constexpr std::size_t kHeader = 7;
  if (n >= 2 && pdu[1] != 0x0E) return 0;
  if (n < kHeader) return kHeader;
  std::size_t pos = kHeader;
  for (unsigned i = 0; i < pdu[6]; ++i) {
    if (n < pos + 2) return pos + 2;
    pos += 2u + pdu[pos + 1];
    if (pos > kMaxPdu) return 0;
  }
  return pos;
}

}  // namespace

std::size_t PduReplyLength(const std::uint8_t* pdu, std::size_t n) {
  if (n < 1) return 2;  // the shortest reply: function and exception code
  const std::uint8_t function = pdu[0];
  if (function & 0x80) return 2;
  if (const int fixed = FixedAnswer(function); fixed >= 0) return 1u + static_cast<std::size_t>(fixed);
  if (function == kReadDeviceId) return DeviceIdLength(pdu, n);
  std::size_t length = 0;
  if (function == 24) {  // read FIFO queue: a 16-bit byte count
    if (n < 3) return 3;
    length = 3u + (static_cast<std::size_t>(pdu[1]) << 8 | pdu[2]);
  } else {
    if (n < 2) return 2;
    length = 2u + pdu[1];
  }
  return length > kMaxPdu ? 0 : length;
}

int DecodePdu(const std::uint8_t* pdu, std::size_t n, std::uint8_t function, std::uint8_t* out, std::size_t cap,
              int* exception) {
  if (exception) *exception = 0;
  if (n < 1) return kTruncated;
  if (pdu[0] == (function | 0x80)) {
    if (n != 2) return kByteCount;
    if (exception) *exception = pdu[1];
    return kException;
  }
  if (pdu[0] != function) return kFunction;
  const std::size_t length = PduReplyLength(pdu, n);
  if (length == 0) return kByteCount;
  if (n != length) return n < length ? kTruncated : kByteCount;
  std::size_t skip = 2;  // function and byte count
  if (FixedAnswer(function) >= 0 || function == kReadDeviceId) skip = 1;
  else if (function == 24) skip = 3;
  const std::size_t count = n - skip;
  if (count > cap) return kByteCount;
  if (count) std::memcpy(out, pdu + skip, count);
  return static_cast<int>(count);
}

int MbapPduLength(const std::uint8_t* h) {
  const std::size_t length = static_cast<std::size_t>(h[4] << 8 | h[5]);
  if (length < 2 || length > kMaxPdu + 1) return kByteCount;
  return static_cast<int>(length - 1);
}

bool MbapMatches(const std::uint8_t* h, std::uint16_t transaction) {
  return (h[0] << 8 | h[1]) == transaction && h[2] == 0 && h[3] == 0;
}

}  // namespace corvane::modbus
