#pragma once
// Small text helpers for the simulator's options: numbers, addresses, splitting.
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::devsim {

// Decimal or 0x-prefixed hexadecimal; the whole text must be consumed.
bool ParseNumber(const std::string& text, long& out);
// Dotted quad into a value with the first octet in the most significant byte.
bool ParseIPv4(const std::string& text, std::uint32_t& out);
std::string FormatIPv4(std::uint32_t ip);
std::vector<std::string> Split(const std::string& text, char separator);
std::vector<std::string> SplitWhitespace(const std::string& text);

}  // namespace corvane::devsim
