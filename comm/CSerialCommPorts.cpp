#include "comm/CSerialCommPorts.h"

#include "comm/CRegistryAccess.h"
#include "platform/CRegStore.h"
#include "platform/CSerialPortMap.h"

namespace corvane::comm {

std::vector<std::string> CSerialCommPorts::List() {
  std::vector<std::string> ports;
  CRegistryAccess reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!reg.OpenKey(platform::CRegStore::kSerialCommPath, false)) return ports;
  const int count = reg.GetValueCount();
  if (count <= 0) return ports;
  // The access object reads single values only; the store enumerates them.
  const auto values =
      platform::CRegStore().EnumValues(platform::RegRoot::LocalMachine, platform::CRegStore::kSerialCommPath);
  if (values.error != platform::kRegOk) return ports;
  for (std::size_t i = 0; i < values.values.size() && i < static_cast<std::size_t>(count); ++i) {
    const platform::RegValue& v = values.values[i];
    if (v.name.size() >= kMaxNameChars || v.data.size() > kMaxDataBytes) continue;
    if (v.type != platform::REG_SZ && v.type != platform::REG_EXPAND_SZ) continue;
    ports.push_back(platform::CRegStore::TextOf(v));
  }
  return ports;
}

std::map<std::string, std::string> CSerialCommPorts::Descriptions() {
  std::map<std::string, std::string> descriptions;
  for (const platform::SerialPortEntry& e : platform::CSerialPortMap().Entries()) descriptions[e.comName] = e.description;
  return descriptions;
}

}  // namespace corvane::comm
