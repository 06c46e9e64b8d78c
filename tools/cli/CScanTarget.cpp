#include "tools/cli/CScanTarget.h"

namespace corvane::cli {

std::string CScanTarget::SettingName(std::size_t setting) const {
  const LinkSpec& s = m_settings[setting];
  return s.kind == LinkSpec::Kind::Tcp ? s.Name() : s.Name() + " " + s.Format();
}

std::string CScanTarget::Select(std::size_t setting) {
  const LinkSpec& s = m_settings[setting];
  // The link came open with the first setting; a TCP link has no other.
  if (setting == 0 && m_link.IsOpen()) return {};
  return m_link.Reopen(s);
}

}  // namespace corvane::cli
