#pragma once
// The Modbus codec apart from any transport: ASCII (":" hex LRC CR LF), RTU (binary + CRC-16)
// and TCP (MBAP header) requests, reply lengths read from a reply's first bytes, and the check
// of a reply PDU. Framing.h finds replies in the bytes a line delivers.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::modbus {

// Non-positive results shared by the decoders and CPortLink.
enum Result : int {
  kTimeout = -1,      // nothing (usable) arrived in time
  kChecksum = -2,     // LRC / CRC wrong, a parity or framing error on the line, ASCII text not hex
  kStation = -3,      // reply from another station / unit
  kFunction = -4,     // reply to another function code
  kException = -5,    // exception reply (function | 0x80); the code is kept apart
  kByteCount = -6,    // byte count does not fit the frame or the buffer
  kTransaction = -7,  // MBAP transaction id or protocol id wrong
  kTruncated = -8,    // frame ended early (silence, peer closed)
  kNotOpen = -9,      // no such handle open, or the port is not in the port map
  kBadArgument = -10, // caller passed a bad length, mode or link type
  kIo = -11,          // the transport failed (open refused, write or read error)
  kIncomplete = -12   // decoder only: a frame may still be arriving
};

const char* ResultText(int result);
// "illegal data address" for 2, ...; "" for codes without a standard name.
const char* ExceptionName(int code);

constexpr std::size_t kMaxPdu = 253;         // function + up to 252 data bytes
constexpr std::size_t kMaxRtuFrame = 256;    // station + PDU + CRC
constexpr std::size_t kMaxAsciiFrame = 513;  // ":" + 2 * (1 + 253 + 1) + CR LF
constexpr std::uint8_t kReadDeviceId = 43;   // encapsulated interface, MEI type 14

std::uint8_t Lrc(const std::uint8_t* data, std::size_t n);

// Requests; the data bytes follow the function code unchanged. Empty when n exceeds a PDU.
std::vector<std::uint8_t> EncodeRtu(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n);
std::vector<std::uint8_t> EncodeAscii(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n);
std::vector<std::uint8_t> EncodeTcp(std::uint16_t transaction, std::uint8_t unit, std::uint8_t function,
                                    const std::uint8_t* data, std::size_t n);

// Bytes of a reply PDU from its function code on, as far as its first n bytes tell: the exact
// length once they tell it, else (a value above n) the least that must still arrive to tell it.
// 0 when no reply can start like this (a count beyond the largest frame, an unknown MEI type).
std::size_t PduReplyLength(const std::uint8_t* pdu, std::size_t n);

// Checks a reply PDU (function code first) to `function` and copies its data bytes into
// out[cap]: after the byte count for the reading functions (1, 2, 3, 4, 0x67, ...), the fixed
// answer of 5, 6, 8, 11, 15, 16 (4 bytes), 22 (6) and 7 (1), everything after the function code
// for 43 (read device identification). Returns the number of data bytes or a Result; an
// exception reply gives kException and its code in *exception.
int DecodePdu(const std::uint8_t* pdu, std::size_t n, std::uint8_t function, std::uint8_t* out, std::size_t cap,
              int* exception = nullptr);

// 7-byte MBAP header: the number of PDU bytes that follow it (kByteCount when the length is out of
// range), and whether transaction and protocol id are the ones expected.
int MbapPduLength(const std::uint8_t* header);
bool MbapMatches(const std::uint8_t* header, std::uint16_t transaction);

}  // namespace corvane::modbus
