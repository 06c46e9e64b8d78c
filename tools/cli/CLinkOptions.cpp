#include "tools/cli/CLinkOptions.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cmath>

#include "registers/CNumberText.h"

namespace corvane::cli {
namespace {

using Fail = Checked<LinkSpec>;

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

enum class Address { Ok, None, BadPort };

// A dotted IPv4 address with an optional ":port"; BadPort with `error` set for a port out of range.
Address ParseIpv4(const std::string& text, std::uint32_t& ip, int& port, std::string& error) {
  const std::size_t colon = text.find(':');
  const std::string address = text.substr(0, colon);
  in_addr a{};
  if (std::count(address.begin(), address.end(), '.') != 3 || inet_pton(AF_INET, address.c_str(), &a) != 1)
    return Address::None;
  ip = ntohl(a.s_addr);
  if (colon != std::string::npos) {
    const auto p = CNumberText::Integer(text.substr(colon + 1), 1, 65535, "TCP port");
    if (!p) {
      error = p.Error();
      return Address::BadPort;
    }
    port = static_cast<int>(*p);
  }
  return Address::Ok;
}

// COMn (any letter case) or 0.
int ComNumber(const std::string& text) {
  if (text.size() < 4 || (text[0] | 0x20) != 'c' || (text[1] | 0x20) != 'o' || (text[2] | 0x20) != 'm') return 0;
  const auto n = CNumberText::Integer(text.substr(3), 1, 9999, "COM port");
  return n ? static_cast<int>(*n) : 0;
}

bool IsPath(const std::string& text) { return StartsWith(text, "/") || StartsWith(text, "./") || StartsWith(text, "../"); }

// CVN.ini's link: its type, port or address, line and station. `typeError` says why its link
// type names no Modbus link (the manager, an unknown type); the line settings are kept all the same.
LinkSpec FromSettings(const CommConf& conf, std::string& typeError) {
  LinkSpec spec;
  spec.baud = conf.BaudRate;
  spec.dataBits = conf.DataLen;
  spec.parity = conf.Parity;
  spec.stopBits = conf.StopBits;
  spec.mode = conf.ModbusMode + 1;
  spec.station = conf.StationAddr;
  spec.comPort = conf.ComPortNum;
  spec.ip = static_cast<std::uint32_t>(conf.IPAddress);
  spec.kind = conf.CommType == 1 ? LinkSpec::Kind::Tcp : LinkSpec::Kind::Serial;
  if (conf.CommType != 0 && conf.CommType != 1)
    typeError = "CVN.ini sets link type " + std::to_string(conf.CommType) +
                " (the communication manager carries no Modbus requests here): name a serial port or an IP address";
  return spec;
}

// Sets `out` from the option when given; false with `error` when the value is out of range.
bool IntOption(const CArgs& args, const char* name, std::int64_t min, std::int64_t max, const char* what, int& out,
               std::string& error) {
  const std::string* text = args.Value(name);
  if (!text) return true;
  const auto v = CNumberText::Integer(*text, min, max, what);
  if (!v) {
    error = v.Error();
    return false;
  }
  out = static_cast<int>(*v);
  return true;
}

}  // namespace

const std::vector<OptionSpec>& CLinkOptions::Specs() {
  static const std::vector<OptionSpec> specs = {
      {'m', "mode", "rtu|ascii|tcp", "Modbus framing; tcp for an IP address (default: CVN.ini)"},
      {'a', "station", "N", "station address or unit id, 0 to 247 (TCP: 0 to 255) (default: CVN.ini)"},
      {'b', "baud", "N", "line speed, 1200 to 921600 (default: CVN.ini)"},
      {'d', "data-bits", "7|8", "data bits (default: CVN.ini)"},
      {'P', "parity", "none|odd|even", "parity (default: CVN.ini)"},
      {'s', "stop-bits", "1|2", "stop bits (default: CVN.ini)"},
      {'p', "port", "N", "TCP port of an IP address (default 502)"},
      {'o', "timeout", "SECONDS", "response time-out, 0.01 to 60 (default 1)"},
      {0, "trace", nullptr, "every frame sent and received on standard error"},
  };
  return specs;
}

const std::vector<int>& CLinkOptions::Speeds() {
  static const std::vector<int> speeds = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
  return speeds;
}

bool CLinkOptions::LooksLikeTarget(const std::string& text) {
  if (ComNumber(text) > 0 || IsPath(text)) return true;
  std::uint32_t ip = 0;
  int port = 0;
  std::string error;
  return ParseIpv4(text, ip, port, error) != Address::None;
}

bool CLinkOptions::ParseSpeed(const std::string& text, int& baud, std::string& error) {
  const auto b = CNumberText::Integer(text, 1, 10000000, "line speed");
  if (!b || std::find(Speeds().begin(), Speeds().end(), *b) == Speeds().end()) {
    error = "\"" + text + "\" is no line speed (1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, "
                          "460800, 921600)";
    return false;
  }
  baud = static_cast<int>(*b);
  return true;
}

bool CLinkOptions::ParseFormat(const std::string& text, LinkSpec& spec, std::string& error) {
  const std::string parities = "NOE";
  const std::size_t p = text.size() == 3 ? parities.find(static_cast<char>(text[1] & ~0x20)) : std::string::npos;
  if (p == std::string::npos || (text[0] != '7' && text[0] != '8') || (text[2] != '1' && text[2] != '2')) {
    error = "\"" + text + "\" is no line format (data bits 7 or 8, parity N, O or E, stop bits 1 or 2: 8N1, 7E1, ...)";
    return false;
  }
  spec.dataBits = text[0] - '0';
  spec.parity = static_cast<int>(p);
  spec.stopBits = text[2] - '0';
  return true;
}

Checked<LinkSpec> CLinkOptions::Resolve(const CArgs& args, const std::string& target, const CommConf& conf) {
  const std::string* mode = args.Value("mode");
  if (mode && *mode != "rtu" && *mode != "ascii" && *mode != "tcp")
    return Fail::Fail("\"" + *mode + "\" is no mode (rtu, ascii or tcp)");
  // With a target or a mode given, the settings' type does not matter.
  std::string typeError;
  LinkSpec spec = FromSettings(conf, typeError);
  if (!typeError.empty() && target.empty() && !mode) return Fail::Fail(typeError);
  if (!target.empty()) {
    std::string error;
    if (const int com = ComNumber(target); com > 0) {
      spec.kind = LinkSpec::Kind::Serial;
      spec.comPort = com;
    } else if (IsPath(target)) {
      spec.kind = LinkSpec::Kind::Serial;
      spec.comPort = 0;
      spec.devicePath = target;
    } else if (const Address a = ParseIpv4(target, spec.ip, spec.tcpPort, error); a == Address::Ok) {
      spec.kind = LinkSpec::Kind::Tcp;
    } else if (a == Address::BadPort) {
      return Fail::Fail(error);
    } else {
      return Fail::Fail("\"" + target + "\" is neither a serial port (COMn or a device path) nor an IPv4 address");
    }
  } else if (mode && (*mode == "tcp") != (spec.kind == LinkSpec::Kind::Tcp)) {
    if (*mode == "tcp") {
      spec.kind = LinkSpec::Kind::Tcp;
      spec.ip = static_cast<std::uint32_t>(conf.IPAddress);
    } else {
      spec.kind = LinkSpec::Kind::Serial;
      spec.comPort = conf.ComPortNum;
    }
  }
  if (mode) {
    if ((*mode == "tcp") != (spec.kind == LinkSpec::Kind::Tcp))
      return Fail::Fail("mode " + *mode + " does not go with " + spec.Name() + " (tcp is for an IP address)");
    if (*mode != "tcp") spec.mode = *mode == "ascii" ? 1 : 2;
  }
  return ApplyLineOptions(args, spec);
}

Checked<int> CLinkOptions::Timeout(const CArgs& args) {
  const std::string* o = args.Value("timeout");
  if (!o) return 0;
  const auto t = CNumberText::Real(*o, "time-out");
  if (!t || !(*t >= 0.01 && *t <= 60)) return Checked<int>::Fail("time-out \"" + *o + "\" is outside 0.01 to 60 seconds");
  return static_cast<int>(std::lround(*t * 1000));
}

Checked<LinkSpec> CLinkOptions::ApplyLineOptions(const CArgs& args, LinkSpec spec) {
  const bool tcp = spec.kind == LinkSpec::Kind::Tcp;
  std::string error;
  if (!IntOption(args, "station", 0, tcp ? 255 : 247, tcp ? "unit id" : "station", spec.station, error) ||
      !IntOption(args, "data-bits", 7, 8, "data bits", spec.dataBits, error) ||
      !IntOption(args, "stop-bits", 1, 2, "stop bits", spec.stopBits, error) ||
      !IntOption(args, "port", 1, 65535, "TCP port", spec.tcpPort, error))
    return Fail::Fail(error);
  if (const std::string* b = args.Value("baud"); b && !ParseSpeed(*b, spec.baud, error)) return Fail::Fail(error);
  if (const std::string* p = args.Value("parity")) {
    static const char* const kNames[] = {"none", "odd", "even"};
    const auto it = std::find(std::begin(kNames), std::end(kNames), *p);
    if (it == std::end(kNames)) return Fail::Fail("\"" + *p + "\" is no parity (none, odd or even)");
    spec.parity = static_cast<int>(it - std::begin(kNames));
  }
  const auto timeout = Timeout(args);
  if (!timeout) return Fail::Fail(timeout.Error());
  if (*timeout > 0) spec.timeoutMs = *timeout;
  if (tcp && (spec.ip == 0 || spec.ip == 0xFFFFFFFFu))
    return Fail::Fail("no device address: " + spec.Name().substr(0, spec.Name().find(':')) +
                      " names none (give an IP address, or set one in Communication Setting)");
  if (!tcp && spec.comPort <= 0 && spec.devicePath.empty())
    return Fail::Fail("no serial port: CVN.ini names COM" + std::to_string(spec.comPort) + " (give COMn or a device path)");
  if (spec.station > 247 && !tcp) return Fail::Fail("station " + std::to_string(spec.station) + " is outside 0 to 247");
  return spec;
}

}  // namespace corvane::cli
