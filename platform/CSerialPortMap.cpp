#include "platform/CSerialPortMap.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "platform/CRegStore.h"

namespace corvane::platform {
namespace {

constexpr std::size_t kMaxNames = 4096;  // entries read from one folder
constexpr int kUsbFrom = 17;             // where numbers without a family's number start

struct Family {
  const char* prefix;
  int base;
};
constexpr Family kFamilies[] = {{"ttyS", 1}, {"ttyUSB", 17}, {"ttyACM", 33}};

// A serial device the kernel lists.
struct Tty {
  std::string name;     // ttyUSB0
  std::string device;   // <dev>/ttyUSB0
  std::string driver;   // ftdi_sio
  std::string byId;     // its name in <dev>/serial/by-id, "" when it has none
  int preferred = 0;    // its family's number, 0 when none
  int searchFrom = kUsbFrom;
};

bool Exists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* d = ::readdir(dir)) {
      if (names.size() >= kMaxNames) break;
      if (d->d_name[0] != '.') names.emplace_back(d->d_name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string LinkTargetName(const std::string& link) {
  char target[PATH_MAX];
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  const std::string t(target, static_cast<std::size_t>(n));
  return t.substr(t.rfind('/') + 1);
}

std::string RealPathOf(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
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
    if (k > CSerialPortMap::kMaxComNumber) return std::nullopt;
  }
  return k;
}

int ComNumber(const std::string& name) {
  const auto n = Suffix(name, "COM");
  return n && *n >= 1 ? *n : -1;
}

// Kernel name -> by-id name (the first in name order when two point at one device).
std::map<std::string, std::string> ByIdNames(const std::string& devRoot) {
  std::map<std::string, std::string> byId;
  const std::string folder = devRoot + "/serial/by-id";
  for (const std::string& name : Names(folder)) {
    const std::string kernel = LinkTargetName(folder + "/" + name);
    if (!kernel.empty()) byId.emplace(kernel, name);
  }
  return byId;
}

std::vector<Tty> PresentTtys(const std::string& sysRoot, const std::string& devRoot) {
  const auto byId = ByIdNames(devRoot);
  std::vector<Tty> ttys;
  for (const std::string& name : Names(sysRoot + "/class/tty")) {
    const std::string sys = sysRoot + "/class/tty/" + name;
    if (!Exists(sys + "/device")) continue;  // consoles, ptys and other ttys without hardware
    Tty t{name, devRoot + "/" + name, LinkTargetName(sys + "/device/driver"), {}, 0, kUsbFrom};
    for (const Family& f : kFamilies) {
      const auto k = Suffix(name, f.prefix);
      if (!k) continue;
      if (f.base == 1 && !UartPresent(sys)) t.name.clear();
      if (f.base + *k <= CSerialPortMap::kMaxComNumber) t.preferred = f.base + *k;
      if (f.base == 1) t.searchFrom = 1;
    }
    if (t.name.empty() || !Exists(t.device)) continue;
    if (auto it = byId.find(name); it != byId.end()) t.byId = it->second;
    ttys.push_back(std::move(t));
  }
  return ttys;
}

class Numbers {
 public:
  bool Free(int n) const { return n >= 1 && n <= CSerialPortMap::kMaxComNumber && !m_used.count(n); }
  void Take(int n) { m_used.insert(n); }
  int Lowest(int from) const {
    for (int n = from; n <= CSerialPortMap::kMaxComNumber; ++n)
      if (!m_used.count(n)) return n;
    return 0;
  }

 private:
  std::set<int> m_used;
};

SerialPortEntry EntryOf(const Tty& t, int n) {
  const std::string description = !t.byId.empty()      ? t.byId
                                  : !t.driver.empty() ? t.driver + ", " + t.device
                                                      : t.device;
  return {"\\Device\\" + t.name, "COM" + std::to_string(n), t.device, description, t.byId, t.driver};
}

// A machine-wide record where this user may write the machine's file, else the user's own:
// an ordinary user's adapter keeps its number either way.
void Record(CRegStore& store, const std::string& byId, int n) {
  const std::string com = "COM" + std::to_string(n);
  if (store.SetString(RegRoot::LocalMachine, CSerialPortMap::kByIdKey, byId, com) != kRegOk)
    store.SetString(RegRoot::CurrentUser, CSerialPortMap::kByIdKey, byId, com);
}

}  // namespace

std::vector<SerialPortEntry> CSerialPortMap::Entries() const {
  std::vector<SerialPortEntry> entries;
  Numbers used;
  std::set<std::string> explicitDevices;
  CRegStore store;
  // Explicit entries: a device that is not a character device is still listed; opening it fails.
  // The machine's first; an ordinary user's own (their file is the one they may write) fill in
  // numbers and devices the machine has not named.
  for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    for (const RegValue& v : store.EnumValues(root, kPortsKey).values) {
      const int n = ComNumber(v.name);
      const std::string device = CRegStore::TextOf(v);
      if (n < 1 || device.empty() || !used.Free(n) || explicitDevices.count(RealPathOf(device)) > 0) continue;
      used.Take(n);
      explicitDevices.insert(RealPathOf(device));
      entries.push_back({"\\Device\\" + device.substr(device.rfind('/') + 1), v.name, device, device, {}, {}});
    }
  }
  // The machine's records first; the user's own (kept where the machine's file is not theirs to
  // write) fill in what the machine has not recorded.
  std::map<std::string, int> recorded;
  for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    for (const RegValue& v : store.EnumValues(root, kByIdKey).values) {
      const int n = ComNumber(CRegStore::TextOf(v));
      if (recorded.count(v.name) == 0 && used.Free(n)) {
        used.Take(n);  // reserved for its device, present or not
        recorded.emplace(v.name, n);
      }
    }
  }
  std::vector<Tty> ttys = PresentTtys(m_sysRoot, m_devRoot);
  std::erase_if(ttys, [&](const Tty& t) { return explicitDevices.count(RealPathOf(t.device)) > 0; });
  std::vector<const Tty*> others, fresh;
  for (const Tty& t : ttys) {
    const auto it = t.byId.empty() ? recorded.end() : recorded.find(t.byId);
    if (it != recorded.end()) entries.push_back(EntryOf(t, it->second));
    else (t.byId.empty() ? others : fresh).push_back(&t);
  }
  // The devices without a record first, so a new adapter never takes a number one of them had.
  for (const auto* group : {&others, &fresh}) {
    std::vector<std::pair<const Tty*, int>> numbered;
    for (const Tty* t : *group)
      if (used.Free(t->preferred)) used.Take(t->preferred), numbered.emplace_back(t, t->preferred);
    for (const Tty* t : *group) {
      if (std::any_of(numbered.begin(), numbered.end(), [&](const auto& p) { return p.first == t; })) continue;
      const int n = used.Lowest(t->searchFrom);
      if (n > 0) used.Take(n), numbered.emplace_back(t, n);
    }
    for (const auto& [t, n] : numbered) {
      entries.push_back(EntryOf(*t, n));
      if (!t->byId.empty()) Record(store, t->byId, n);
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const SerialPortEntry& a, const SerialPortEntry& b) { return ComNumber(a.comName) < ComNumber(b.comName); });
  return entries;
}

std::optional<SerialPortEntry> CSerialPortMap::Find(int n) const {
  for (SerialPortEntry& e : Entries())
    if (ComNumber(e.comName) == n) return std::move(e);
  return std::nullopt;
}

std::optional<std::string> CSerialPortMap::DeviceForComPort(int n) const {
  const auto e = Find(n);
  return e ? std::optional<std::string>(e->device) : std::nullopt;
}

void CSerialPortMap::InstallAsSystemMap() {
  CRegStore::SetSerialCommProvider([] {
    RegStringPairs pairs;
    for (const SerialPortEntry& e : CSerialPortMap().Entries()) pairs.emplace_back(e.valueName, e.comName);
    return pairs;
  });
}

}  // namespace corvane::platform
