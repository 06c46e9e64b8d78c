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
bool IsEchoFunction(std::uint8_t f) { return f == 5 || f == 6 || f == 15 || f == 16; }
}  // namespace

int DecodePdu(const std::uint8_t* pdu, std::size_t n, std::uint8_t function, std::uint8_t* out, std::size_t cap) {
  if (n < 1) return kTruncated;
  if (pdu[0] == (function | 0x80)) return n == 2 ? kException : kByteCount;
  if (pdu[0] != function) return kFunction;
  if (IsEchoFunction(function)) {
    if (n != 5) return n < 5 ? kTruncated : kByteCount;
    if (cap < 4) return kByteCount;
    std::memcpy(out, pdu + 1, 4);
    return 4;
  }
  if (n < 2) return kTruncated;
  const std::size_t count = pdu[1];
  if (n != count + 2) return n < count + 2 ? kTruncated : kByteCount;
  if (count > cap) return kByteCount;
  if (count) std::memcpy(out, pdu + 2, count);
  return static_cast<int>(count);
}

std::size_t RtuFrameLength(const std::uint8_t* f, std::size_t n) {
  if (n < 2) return 0;
  if (f[1] & 0x80) return 5;
  if (IsEchoFunction(f[1])) return 8;
  if (n < 3) return 0;
  return 3u + f[2] + 2u;
}

int DecodeRtuReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                   std::uint8_t* out, std::size_t cap, bool final) {
  bool sawComplete = false;
  for (std::size_t off = 0; off + 4 <= n; ++off) {
    const std::size_t len = RtuFrameLength(buf + off, n - off);
    if (len == 0 || len > n - off) continue;
    const std::uint16_t crc = Crc16Modbus(buf + off, len - 2);
    if (buf[off + len - 2] != (crc & 0xFF) || buf[off + len - 1] != (crc >> 8)) {
      if (off == 0) sawComplete = true;
      continue;
    }
    if (buf[off] != station) return kStation;
    return DecodePdu(buf + off + 1, len - 3, function, out, cap);
  }
  if (!final) return kIncomplete;
  if (n == 0) return kTimeout;
  return sawComplete ? kChecksum : kTruncated;
}

namespace {
int HexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

int DecodeAsciiReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                     std::uint8_t* out, std::size_t cap, bool final) {
  // Lines without ":" are noise; the frame is the last ":" of the first line that has one.
  std::size_t lineStart = 0, lf = 0, colon = 0;
  for (;;) {
    lf = lineStart;
    while (lf < n && buf[lf] != '\n') ++lf;
    if (lf == n) {
      if (!final) return kIncomplete;
      return n == 0 ? kTimeout : kTruncated;
    }
    colon = lf;
    while (colon > lineStart && buf[colon - 1] != ':') --colon;
    if (colon > lineStart) break;
    lineStart = lf + 1;
  }
  const std::size_t start = colon;                            // first hex char
  if (lf < start + 1 || buf[lf - 1] != '\r') return kChecksum;
  const std::size_t hexLen = lf - 1 - start;
  if (hexLen % 2 != 0 || hexLen < 6 || hexLen / 2 > kMaxPdu + 2) return kChecksum;
  std::uint8_t raw[kMaxPdu + 2];
  const std::size_t rawLen = hexLen / 2;
  for (std::size_t i = 0; i < rawLen; ++i) {
    const int hi = HexDigit(buf[start + 2 * i]), lo = HexDigit(buf[start + 2 * i + 1]);
    if (hi < 0 || lo < 0) return kChecksum;
    raw[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  if (Lrc(raw, rawLen - 1) != raw[rawLen - 1]) return kChecksum;
  if (raw[0] != station) return kStation;
  return DecodePdu(raw + 1, rawLen - 2, function, out, cap);
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
