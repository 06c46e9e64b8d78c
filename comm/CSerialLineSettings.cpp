#include "comm/CSerialLineSettings.h"

#include <algorithm>

#include "platform/CProfileStore.h"
#include "platform/CRegStore.h"
#include "platform/CSerialPortMap.h"

namespace corvane::comm {
namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kResponseTime = "ResponseTime";
constexpr const char* kRs485 = "RS485";
constexpr const char* kDelayBefore = "RS485DelayBeforeSend";
constexpr const char* kDelayAfter = "RS485DelayAfterSend";

std::string PortKey(int com) { return std::string(platform::CSerialPortMap::kPortsKey) + "\\COM" + std::to_string(com); }

int Dword(const platform::CRegStore& store, const std::string& key, const char* name, int lo, int hi) {
  const auto got = store.GetValue(platform::RegRoot::LocalMachine, key, name);
  const auto value = got.ok() ? platform::CRegStore::DwordOf(got.value) : std::nullopt;
  return value ? static_cast<int>(std::clamp<std::uint32_t>(*value, static_cast<std::uint32_t>(lo),
                                                            static_cast<std::uint32_t>(hi)))
               : lo;
}

}  // namespace

int CSerialLineSettings::ResponseTime() {
  const int ms = platform::CProfileStore().GetProfileInt(kSection, kResponseTime, kDefaultResponseMs);
  return std::clamp(ms, kMinResponseMs, kMaxResponseMs);
}

bool CSerialLineSettings::SetResponseTime(int ms) {
  return platform::CProfileStore().WriteProfileInt(kSection, kResponseTime, std::clamp(ms, kMinResponseMs, kMaxResponseMs));
}

PortLineSettings CSerialLineSettings::Port(int com) {
  const platform::CRegStore store;
  const std::string key = PortKey(com);
  return {Dword(store, key, kRs485, 0, 1) == 1, Dword(store, key, kDelayBefore, 0, kMaxDelayMs),
          Dword(store, key, kDelayAfter, 0, kMaxDelayMs)};
}

bool CSerialLineSettings::SetPort(int com, const PortLineSettings& s) {
  platform::CRegStore store;
  const std::string key = PortKey(com);
  const auto put = [&](const char* name, int v) {
    return store.SetDword(platform::RegRoot::LocalMachine, key, name, static_cast<std::uint32_t>(v)) == platform::kRegOk;
  };
  return put(kRs485, s.rs485 ? 1 : 0) && put(kDelayBefore, std::clamp(s.delayBeforeMs, 0, kMaxDelayMs)) &&
         put(kDelayAfter, std::clamp(s.delayAfterMs, 0, kMaxDelayMs));
}

CPortLink::PortSpec CSerialLineSettings::Spec(int com) {
  const auto device = platform::CSerialPortMap().DeviceForComPort(com);
  if (!device) return {};
  const PortLineSettings s = Port(com);
  return {*device, s.rs485, s.delayBeforeMs, s.delayAfterMs};
}

void CSerialLineSettings::Apply() {
  CPortLink::SetPortMap(&CSerialLineSettings::Spec);
  CPortLink::SetDefaultResponseTimeout(ResponseTime());
}

}  // namespace corvane::comm
