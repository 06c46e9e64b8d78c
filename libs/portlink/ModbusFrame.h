#pragma once
// Modbus framing apart from the byte transport: ASCII (":" hex LRC CR LF), RTU (binary + CRC-16)
// and TCP (MBAP header). Encoders build a request; decoders check a reply and copy its data bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::modbus {

// Non-positive results shared by the decoders and CPortLink::Response.
enum Result : int {
  kTimeout = -1,      // nothing (usable) arrived in time
  kChecksum = -2,     // LRC / CRC wrong, or ASCII text not hex
  kStation = -3,      // reply from another station / unit
  kFunction = -4,     // reply to another function code
  kException = -5,    // exception reply (function | 0x80)
  kByteCount = -6,    // byte count does not fit the frame or the buffer
  kTransaction = -7,  // MBAP transaction id or protocol id wrong
  kTruncated = -8,    // frame ended early (silence, peer closed)
  kNotOpen = -9,      // no such handle open
  kBadArgument = -10, // caller passed a bad length, mode or link type
  kIo = -11,          // the transport failed
  kIncomplete = -12   // decoder only: a frame may still be arriving
};

const char* ResultText(int result);

constexpr std::size_t kMaxPdu = 253;         // function + up to 252 data bytes
constexpr std::size_t kMaxAsciiFrame = 513;  // ":" + 2 * (1 + 253 + 1) + CR LF

std::uint8_t Lrc(const std::uint8_t* data, std::size_t n);

// Requests; the data bytes follow the function code unchanged. Empty when n exceeds a PDU.
std::vector<std::uint8_t> EncodeRtu(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n);
std::vector<std::uint8_t> EncodeAscii(std::uint8_t station, std::uint8_t function, const std::uint8_t* data, std::size_t n);
std::vector<std::uint8_t> EncodeTcp(std::uint16_t transaction, std::uint8_t unit, std::uint8_t function,
                                    const std::uint8_t* data, std::size_t n);

// Checks a reply PDU (function code first) to `function`; copies its data bytes (after the byte
// count for the reading functions, the 4 echo bytes for 5, 6, 15, 16) into out[cap].
// Returns the number of data bytes or a Result.
int DecodePdu(const std::uint8_t* pdu, std::size_t n, std::uint8_t function, std::uint8_t* out, std::size_t cap);

// Expected RTU frame length from its first bytes (station, function, [byte count]); 0 while unknown.
std::size_t RtuFrameLength(const std::uint8_t* frame, std::size_t n);

// Finds a CRC-valid reply in bytes received so far (garbage before it is skipped) and decodes it.
// kIncomplete when no frame is complete yet; `final` turns that into kTimeout/kTruncated/kChecksum.
int DecodeRtuReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                   std::uint8_t* out, std::size_t cap, bool final);

// Finds ":" … CR LF (garbage before the last ":" is skipped) and decodes it.
int DecodeAsciiReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                     std::uint8_t* out, std::size_t cap, bool final);

// 7-byte MBAP header: the number of PDU bytes that follow it (kByteCount when the length is out of
// range), and whether transaction and protocol id are the ones expected.
int MbapPduLength(const std::uint8_t* header);
bool MbapMatches(const std::uint8_t* header, std::uint16_t transaction);

}  // namespace corvane::modbus
