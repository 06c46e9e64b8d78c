#include "tools/devsim/PortRegistry.h"

#include "platform/CRegStore.h"

namespace corvane::devsim {

using platform::CRegStore;
using platform::RegRoot;

// The machine's file where this user may write it, else the user's own, as the port map reads both.
bool PortRegistry::Set(int comPort, const std::string& path, std::string& error) {
  CRegStore store;
  const std::string name = "COM" + std::to_string(comPort);
  if (store.SetString(RegRoot::LocalMachine, kPortsKey, name, path) == platform::kRegOk) return true;
  const int rc = store.SetString(RegRoot::CurrentUser, kPortsKey, name, path);
  if (rc != platform::kRegOk) {
    error = "cannot write " + name + " to " + CRegStore::FilePath(RegRoot::LocalMachine) + " nor to " +
            CRegStore::FilePath(RegRoot::CurrentUser) + " (error " + std::to_string(rc) + ")";
    return false;
  }
  return true;
}

void PortRegistry::Remove(int comPort, const std::string& path) {
  CRegStore store;
  const std::string name = "COM" + std::to_string(comPort);
  for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    const auto current = store.GetValue(root, kPortsKey, name);
    if (current.ok() && CRegStore::TextOf(current.value) == path) store.DeleteValue(root, kPortsKey, name);
  }
}

}  // namespace corvane::devsim
