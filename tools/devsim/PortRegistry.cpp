#include "tools/devsim/PortRegistry.h"

#include "platform/CRegStore.h"

namespace corvane::devsim {

using platform::CRegStore;
using platform::RegRoot;

bool PortRegistry::Set(int comPort, const std::string& path, std::string& error) {
  CRegStore store;
  const int rc = store.SetString(RegRoot::LocalMachine, kPortsKey, "COM" + std::to_string(comPort), path);
  if (rc != platform::kRegOk) {
    error = "cannot write COM" + std::to_string(comPort) + " to " + CRegStore::FilePath(RegRoot::LocalMachine) +
            " (error " + std::to_string(rc) + ")";
    return false;
  }
  return true;
}

void PortRegistry::Remove(int comPort, const std::string& path) {
  CRegStore store;
  const std::string name = "COM" + std::to_string(comPort);
  const auto current = store.GetValue(RegRoot::LocalMachine, kPortsKey, name);
  if (current.ok() && CRegStore::TextOf(current.value) == path) store.DeleteValue(RegRoot::LocalMachine, kPortsKey, name);
}

}  // namespace corvane::devsim
