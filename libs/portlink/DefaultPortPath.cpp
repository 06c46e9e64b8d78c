#include "libs/portlink/DefaultPortPath.h"

namespace corvane {

std::string DefaultPortPath(int port) {
  if (port < 1 || port > 256) return {};
  return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace corvane
