#include "tools/cli/CSearchSettings.h"

#include "tools/cli/CLinkOptions.h"

namespace corvane::cli {
namespace {

using Fail = Checked<SearchSettings>;

bool Usable(std::int32_t address) { return address != 0 && address != -1; }

std::string Dotted(std::uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." + std::to_string((a >> 8) & 0xFF) +
         "." + std::to_string(a & 0xFF);
}

std::string DefaultKind(const CommConf& conf) {
  switch (conf.CommType) {
    case 0: return "serial";
    case 1: return Usable(conf.IPAddress) ? "ip" : "broadcast";
    case 2: return "manager";
    default: return {};
  }
}

}  // namespace

std::string SearchSettings::Where() const {
  if (conf.CommType == 0) return devicePath.empty() ? "COM" + std::to_string(conf.ComPortNum) : devicePath;
  if (conf.CommType == 1) return Dotted(static_cast<std::uint32_t>(conf.IPAddress));
  return "PORTHUB";
}

Checked<SearchSettings> CSearchSettings::Make(const CArgs& args, std::string kind, const std::string& target,
                                              CommConf conf) {
  if (kind.empty()) kind = DefaultKind(conf);
  if (kind.empty()) return Fail::Fail("CVN.ini sets link type " + std::to_string(conf.CommType) + ": say serial, ip, broadcast or manager");
  if (args.Has("port")) return Fail::Fail("the search reaches devices on the Modbus TCP port 502; -p does not apply");
  if ((kind == "broadcast" || kind == "manager") && !target.empty())
    return Fail::Fail("search " + kind + " takes no target (\"" + target.substr(0, 40) + "\")");
  const auto timeout = CLinkOptions::Timeout(args);
  if (!timeout) return Fail::Fail(timeout.Error());
  SearchSettings s{kind, conf, {}, *timeout};
  // The serial and IP searches take their link as read and write do.
  CommConf resolvable = conf;
  resolvable.CommType = kind == "serial" ? 0 : 1;
  if (kind == "ip" || kind == "serial") {
    if (kind == "ip" && target.empty() && !Usable(conf.IPAddress))
      return Fail::Fail("no device address: CVN.ini has none (give the IP address to search)");
    const auto spec = CLinkOptions::Resolve(args, target, resolvable);
    if (!spec) return Fail::Fail(spec.Error());
    if ((spec->kind == LinkSpec::Kind::Tcp) != (kind == "ip"))
      return Fail::Fail(kind == "ip" ? "search ip takes an IPv4 address" : "search serial takes COMn or a device path");
    if (spec->kind == LinkSpec::Kind::Tcp && spec->tcpPort != 502 && target.find(':') != std::string::npos)
      return Fail::Fail("the search reaches devices on the Modbus TCP port 502; give the address alone");
    s.conf.CommType = resolvable.CommType;
    s.conf.StationAddr = spec->station;
    if (kind == "ip") {
      s.conf.IPAddress = static_cast<std::int32_t>(spec->ip);
      return s;
    }
    s.conf.ComPortNum = spec->comPort > 0 ? spec->comPort : kPathPort;
    s.devicePath = spec->devicePath;
    s.conf.BaudRate = spec->baud;
    s.conf.DataLen = spec->dataBits;
    s.conf.Parity = spec->parity;
    s.conf.StopBits = spec->stopBits;
    s.conf.ModbusMode = spec->mode - 1;
    return s;
  }
  if (kind == "broadcast") {
    s.conf.CommType = 1;
    s.conf.IPAddress = -1;
    return s;
  }
  if (kind == "manager") {
    s.conf.CommType = 2;
    return s;
  }
  return Fail::Fail("\"" + kind.substr(0, 40) + "\" is no search (serial, ip, broadcast or manager)");
}

}  // namespace corvane::cli
