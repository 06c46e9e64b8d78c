#include "tools/devsim/Numbers.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace corvane::devsim {

bool ParseNumber(const std::string& text, long& out) {
  if (text.empty() || text.size() > 20) return false;
  errno = 0;
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const long v = std::strtol(text.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || end == nullptr || *end != '\0') return false;
  out = v;
  return true;
}

bool ParseIPv4(const std::string& text, std::uint32_t& out) {
  in_addr a{};
  if (inet_pton(AF_INET, text.c_str(), &a) != 1) return false;
  out = ntohl(a.s_addr);
  return true;
}

std::string FormatIPv4(std::uint32_t ip) {
  return std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 0xFF) + "." +
         std::to_string((ip >> 8) & 0xFF) + "." + std::to_string(ip & 0xFF);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (true) {
    const auto pos = text.find(separator, start);
    parts.push_back(text.substr(start, pos - start));
    if (pos == std::string::npos) break;
    start = pos + 1;
  }
  return parts;
}

std::vector<std::string> SplitWhitespace(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace corvane::devsim
