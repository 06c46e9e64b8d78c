#pragma once
// The device path of COMn when no resolver was injected.
#include <string>

namespace corvane {

std::string DefaultPortPath(int port);

}  // namespace corvane
