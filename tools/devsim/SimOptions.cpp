#include "tools/devsim/SimOptions.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tools/devsim/Numbers.h"

namespace corvane::devsim {

namespace {
constexpr std::size_t kMaxDevices = 1024;
constexpr std::size_t kMaxLine = 8192;

bool Port(const std::string& text, int& out) {
  long v = 0;
  if (!ParseNumber(text, v) || v < 0 || v > 65535) return false;
  out = static_cast<int>(v);
  return true;
}
// "9600" or "9600:8E1": the speed and the bits of one character (start, data, parity, stop).
bool ParsePace(const std::string& text, int& baud, int& bits) {
  const auto colon = text.find(':');
  long b = 0;
  if (!ParseNumber(text.substr(0, colon), b) || b < 50 || b > 4000000) return false;
  bits = 10;
  if (colon != std::string::npos) {
    const std::string f = text.substr(colon + 1);
    if (f.size() != 3 || f[0] < '5' || f[0] > '8' || (f[1] != 'N' && f[1] != 'E' && f[1] != 'O') ||
        (f[2] != '1' && f[2] != '2'))
      return false;
    bits = 1 + (f[0] - '0') + (f[1] == 'N' ? 0 : 1) + (f[2] - '0');
  }
  baud = static_cast<int>(b);
  return true;
}
// "1,5,17-20": station addresses 0 to 255, each once.
bool ParseStations(const std::string& text, std::vector<int>& out) {
  out.clear();
  for (const std::string& part : Split(text, ',')) {
    const auto dash = part.find('-');
    long first = 0, last = 0;
    if (!ParseNumber(part.substr(0, dash), first)) return false;
    last = first;
    if (dash != std::string::npos && !ParseNumber(part.substr(dash + 1), last)) return false;
    if (first < 0 || last > 255 || first > last) return false;
    for (long s = first; s <= last; ++s)
      if (std::find(out.begin(), out.end(), s) == out.end()) out.push_back(static_cast<int>(s));
  }
  return !out.empty();
}
}  // namespace

const char* SimOptions::Usage() {
  return "usage: corvane-devsim [options]\n"
         "  --config FILE          device file (see README.md)\n"
         "  --device SPEC          add a device, e.g. \"code=0x0015 station=1 ip=127.0.0.2 sub=0x4041\"\n"
         "  --fault LIST           faults for every device, e.g. late:1200,bytewise\n"
         "  --stations LIST        serve the first device at each station, e.g. 1,5,17-20; other units are silent\n"
         "  --mode auto|ascii|rtu  Modbus framing on the pty (default auto)\n"
         "  --no-pty               no serial line\n"
         "  --link PATH            symlink PATH to the pty\n"
         "  --com N                register the pty as COMn in the registry store\n"
         "  --pace BAUD[:FORMAT]   the pty paces its bytes as a line of BAUD, FORMAT e.g. 8E1 (default 8N1)\n"
         "  --tcp-port N           Modbus TCP port (default 502, 0 = any free port)\n"
         "  --no-tcp               no Modbus TCP server\n"
         "  --udp-bind ADDR        discovery responder address (default 127.0.0.1)\n"
         "  --udp-port N           discovery responder port (default 20006, 0 = any)\n"
         "  --no-udp               no discovery responder\n"
         "  --porthub              stand in for the PORTHUB manager\n"
         "  --porthub-socket PATH  its local socket (default $XDG_RUNTIME_DIR/PORTHUB)\n"
         "  --porthub-port N       its TCP port (default 0 = any free port)\n"
         "  --porthub-answer N     report N instead of the real port\n"
         "  --porthub-silent       never answer 1224\n"
         "  --verbose              log traffic on stderr\n";
}

bool SimOptions::Parse(const std::vector<std::string>& args, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      help = true;
    } else if (a == "--config") {
      if (!value(v) || !LoadFile(v, error)) return false;
    } else if (a == "--device") {
      if (!value(v)) return false;
      DeviceSpec d;
      if (!d.Parse(v, error)) return false;
      if (devices.size() >= kMaxDevices) {
        error = "too many devices";
        return false;
      }
      devices.push_back(d);
    } else if (a == "--stations") {
      if (!value(v) || !ParseStations(v, stations)) return error = "bad --stations " + v, false;
      exactStations = true;
    } else if (a == "--fault") {
      if (!value(v)) return false;
      globalFault += (globalFault.empty() ? "" : ",") + v;
    } else if (a == "--mode") {
      if (!value(v)) return false;
      if (v == "auto") mode = SerialMode::Auto;
      else if (v == "ascii") mode = SerialMode::Ascii;
      else if (v == "rtu") mode = SerialMode::Rtu;
      else {
        error = "bad --mode " + v;
        return false;
      }
    } else if (a == "--no-pty") {
      pty = false;
    } else if (a == "--link") {
      if (!value(linkPath)) return false;
    } else if (a == "--com") {
      long n = 0;
      if (!value(v) || !ParseNumber(v, n) || n < 1 || n > 256) {
        error = "bad --com";
        return false;
      }
      comPort = static_cast<int>(n);
    } else if (a == "--pace") {
      if (!value(v) || !ParsePace(v, paceBaud, paceBits)) return error = "bad --pace " + v, false;
    } else if (a == "--tcp-port") {
      if (!value(v) || !Port(v, tcpPort)) return error = "bad --tcp-port", false;
    } else if (a == "--no-tcp") {
      tcp = false;
    } else if (a == "--udp-bind") {
      if (!value(udpBind)) return false;
    } else if (a == "--udp-port") {
      if (!value(v) || !Port(v, udpPort)) return error = "bad --udp-port", false;
    } else if (a == "--no-udp") {
      udp = false;
    } else if (a == "--porthub") {
      porthub = true;
    } else if (a == "--porthub-socket") {
      if (!value(porthubSocket)) return false;
      porthub = true;
    } else if (a == "--porthub-port") {
      if (!value(v) || !Port(v, porthubTcpPort)) return error = "bad --porthub-port", false;
      porthub = true;
    } else if (a == "--porthub-answer") {
      long n = 0;
      if (!value(v) || !ParseNumber(v, n) || n < -1 || n > 65535) return error = "bad --porthub-answer", false;
      porthubAnswer = static_cast<int>(n);
      porthub = true;
    } else if (a == "--porthub-silent") {
      porthubSilent = true;
      porthub = true;
    } else if (a == "--verbose" || a == "-v") {
      verbose = true;
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

bool SimOptions::LoadFile(const std::string& path, std::string& error) {
  if (++m_depth > 4) {
    error = "--config nested too deeply";
    return false;
  }
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    --m_depth;
    return false;
  }
  int lineNo = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNo;
    if (line.size() > kMaxLine) {
      error = path + ":" + std::to_string(lineNo) + ": line too long";
      return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto words = SplitWhitespace(line);
    if (words.empty() || words[0][0] == '#' || words[0][0] == ';') continue;
    std::string why;
    bool ok;
    if (words[0].rfind("--", 0) == 0) {
      ok = Parse(words, why);
    } else {
      DeviceSpec d;
      ok = d.Parse(line, why);
      if (ok && devices.size() >= kMaxDevices) ok = false, why = "too many devices";
      if (ok) devices.push_back(d);
    }
    if (!ok) {
      error = path + ":" + std::to_string(lineNo) + ": " + why;
      --m_depth;
      return false;
    }
  }
  --m_depth;
  return true;
}

bool SimOptions::Finish(std::string& error) {
  if (devices.empty()) devices.emplace_back();
  if (!stations.empty()) {
    // The first device stands at every listed station; the others keep theirs.
    const DeviceSpec model = devices.front();
    devices.erase(devices.begin());
    for (auto it = stations.rbegin(); it != stations.rend(); ++it) {
      devices.insert(devices.begin(), model);
      devices.front().station = static_cast<std::uint8_t>(*it);
    }
    if (devices.size() > kMaxDevices) return error = "too many devices", false;
  }
  for (DeviceSpec& d : devices) {
    FaultSet f;
    if (!f.Parse(globalFault, error) || !f.Parse(d.faultText, error)) return false;
    d.faults = f;
  }
  if (porthubSocket.empty()) {
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    porthubSocket = std::string(run && *run ? run : "/tmp") + "/PORTHUB";
  }
  return true;
}

}  // namespace corvane::devsim
