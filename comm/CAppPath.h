#pragma once
// Where a sibling program is installed: the App Paths entry of the registry store.
#include <string>

namespace corvane::comm {

// The named value of "HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\<exe>",
// or its default value when valueName is empty. Empty when the key or the value is missing,
// is not text, or is longer than 1023 bytes.
std::string GetAppPath(const std::string& exeName, const std::string& valueName);

}  // namespace corvane::comm
