#include "comm/CAppPath.h"

#include "platform/CRegStore.h"

namespace corvane::comm {
namespace {
constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr std::size_t kBufferBytes = 1023;  // the reader's buffer, terminator included
}  // namespace

std::string GetAppPath(const std::string& exeName, const std::string& valueName) {
  // A name that would step into another key is not a program file name.
  if (exeName.empty() || exeName.find('\\') != std::string::npos) return {};
  const platform::CRegStore store;
  const auto result = store.GetValue(platform::RegRoot::LocalMachine, kAppPaths + exeName, valueName);
  if (!result.ok()) return {};
  if (result.value.type != platform::REG_SZ && result.value.type != platform::REG_EXPAND_SZ) return {};
  std::string text = platform::CRegStore::TextOf(result.value);
  if (text.size() >= kBufferBytes) return {};  // would not fit: unreadable, not cut short
  return text;
}

}  // namespace corvane::comm
