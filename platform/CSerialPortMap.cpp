#include "platform/CSerialPortMap.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "platform/CRegStore.h"

namespace corvane::platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

// A ttyS node exists for every possible legacy port; only a non-zero UART type means hardware.
bool UartPresent(const std::string& sysTty) {
  std::ifstream in(sysTty + "/type");
  int type = 0;
  return (in >> type) && type != 0;
}

std::optional<int> Suffix(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  int k = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    k = k * 10 + (name[i] - '0');
    if (k > 1000) return std::nullopt;
  }
  return k;
}

int ComNumber(const std::string& name) {
  const auto n = Suffix(name, "COM");
  return n ? *n : -1;
}

}  // namespace

std::vector<SerialPortEntry> CSerialPortMap::Entries() const {
  std::vector<SerialPortEntry> entries;
  // Explicit entries: a device that is not a character device is still listed; opening it fails.
  const RegValuesResult ports = CRegStore().EnumValues(RegRoot::LocalMachine, kPortsKey);
  for (const RegValue& v : ports.values) {
    if (ComNumber(v.name) < 1) continue;
    const std::string device = CRegStore::TextOf(v);
    if (device.empty()) continue;
    entries.push_back({"\\Device\\" + device.substr(device.rfind('/') + 1), v.name, device});
  }
  auto taken = [&](const std::string& com) {
    return std::any_of(entries.begin(), entries.end(), [&](const SerialPortEntry& e) {
      return ComNumber(e.comName) == ComNumber(com);
    });
  };

  std::vector<std::string> names;
  if (DIR* dir = ::opendir((m_sysRoot + "/class/tty").c_str())) {
    while (const dirent* d = ::readdir(dir)) names.emplace_back(d->d_name);
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  struct Family { const char* prefix; int base; };
  const Family families[] = {{"ttyS", 1}, {"ttyUSB", 17}, {"ttyACM", 33}};
  for (const Family& f : families) {
    for (const std::string& name : names) {
      const auto k = Suffix(name, f.prefix);
      if (!k || *k >= 16) continue;
      if (std::string(f.prefix) == "ttyS" && !UartPresent(m_sysRoot + "/class/tty/" + name)) continue;
      const std::string device = m_devRoot + "/" + name;
      if (!Exists(device)) continue;
      const std::string com = "COM" + std::to_string(f.base + *k);
      if (taken(com)) continue;
      entries.push_back({"\\Device\\" + name, com, device});
    }
  }
  return entries;
}

std::optional<std::string> CSerialPortMap::DeviceForComPort(int n) const {
  for (const SerialPortEntry& e : Entries())
    if (ComNumber(e.comName) == n) return e.device;
  return std::nullopt;
}

void CSerialPortMap::InstallAsSystemMap() {
  CRegStore::SetSerialCommProvider([] {
    RegStringPairs pairs;
    for (const SerialPortEntry& e : CSerialPortMap().Entries()) pairs.emplace_back(e.valueName, e.comName);
    return pairs;
  });
}

}  // namespace corvane::platform
