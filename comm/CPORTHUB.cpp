#include "comm/CPORTHUB.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <optional>

#include "comm/CRegistryAccess.h"
#include "widgets/CUtf8.h"
#include "widgets/CXmlNavigator.h"

namespace corvane::comm {
namespace {

constexpr std::string_view kDriver = "Driver";

// The whole regular file, or nothing when it cannot be read or is larger than the bound.
std::optional<std::string> ReadBounded(const std::string& path, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uintmax_t>(st.st_size) > limit)
    return std::nullopt;
  std::string bytes;
  bytes.resize(static_cast<std::size_t>(st.st_size) + 1);  // one more to notice a file that grew
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > limit || got > static_cast<std::size_t>(st.st_size)) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

// Puts the navigator's child position on the first Driver whose DriverName is `name`.
bool FindDriver(CXmlNavigator& nav, const std::string& name) {
  while (nav.FindNextChild(kDriver)) {
    if (nav.ChildAttribute("DriverName") == name) return true;
  }
  return false;
}

}  // namespace

std::string CPORTHUB::GetInstallPath() const {
  CRegistryAccess reg;
  if (!reg.SetRootKey(HKEY_LOCAL_MACHINE)) return {};
  if (!reg.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\PORTHUB.exe", false)) return {};
  return reg.ReadString("Path", "");
}

bool CPORTHUB::Load(const std::string& folder) {
  if (folder.empty() || folder.find('\0') != std::string::npos) return false;  // a NUL would cut the path short
  auto bytes = ReadBounded(folder + kCatalogueFile, kMaxFileBytes);
  if (!bytes) return false;
  m_strCatalogue = DecodeFile(*bytes);
  m_nav.LoadText(m_strCatalogue);
  return true;
}

CXmlNavigator& CPORTHUB::Fresh() const {
  m_nav.Rewind();
  return m_nav;
}

std::string CPORTHUB::DecodeFile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return CUtf8::FromUtf16Le(reinterpret_cast<const unsigned char*>(bytes.data()) + 2, bytes.size() - 2);
  }
  return std::string(bytes);
}

std::int32_t CPORTHUB::ToDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kCap = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kCap) value = kCap;  // saturate; the digits may go on for ever
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

int CPORTHUB::GetDriverCount() const {
  CXmlNavigator& nav = Fresh();
  int count = 0;
  while (count < std::numeric_limits<int>::max() && nav.FindNextChild(kDriver)) ++count;
  return count;
}

std::string CPORTHUB::GetDriverName(int index) const {
  if (index < 0) return {};
  CXmlNavigator& nav = Fresh();
  for (int i = 0; nav.FindNextChild(kDriver); ++i) {
    if (i == index) return nav.ChildAttribute("DriverName");
  }
  return {};
}

std::int32_t CPORTHUB::DriverAttribute(const std::string& name, std::string_view attribute) const {
  CXmlNavigator& nav = Fresh();
  if (!FindDriver(nav, name)) return -1;
  return ToDecimal(nav.ChildAttribute(attribute));
}

std::int32_t CPORTHUB::ComInfoAttribute(const std::string& name, std::string_view attribute) const {
  CXmlNavigator& nav = Fresh();
  if (!FindDriver(nav, name)) return -1;
  const std::int32_t commInterface = ToDecimal(nav.ChildAttribute("CommInterface"));
  if (commInterface != 1 && commInterface != 2) return -1;
  nav.StepIn();
  nav.FindNextChild("ComInfo");  // when absent the child position stays 0 and the value is empty
  return ToDecimal(nav.ChildAttribute(attribute));
}

std::int32_t CPORTHUB::GetDriverID(const std::string& name) const { return DriverAttribute(name, "DriverID"); }
std::int32_t CPORTHUB::GetCommInterface(const std::string& name) const {
  return DriverAttribute(name, "CommInterface");
}
std::int32_t CPORTHUB::GetDriverStatus(const std::string& name) const {
  return DriverAttribute(name, "DriverStatus");
}
std::int32_t CPORTHUB::GetTimeOutRetryTime(const std::string& name) const {
  return DriverAttribute(name, "TimeOutRetryTime");
}
std::int32_t CPORTHUB::GetTimeOutInterval(const std::string& name) const {
  return DriverAttribute(name, "TimeOutInterval");
}
std::int32_t CPORTHUB::GetPortNumber(const std::string& name) const { return ComInfoAttribute(name, "PortNumber"); }
std::int32_t CPORTHUB::GetPLCStationNum(const std::string& name) const {
  return ComInfoAttribute(name, "PLCStationNum");
}
std::int32_t CPORTHUB::GetBaudRate(const std::string& name) const { return ComInfoAttribute(name, "BaudRate"); }
std::int32_t CPORTHUB::GetDataBits(const std::string& name) const { return ComInfoAttribute(name, "DataBits"); }
std::int32_t CPORTHUB::GetStopBit(const std::string& name) const { return ComInfoAttribute(name, "StopBit"); }
std::int32_t CPORTHUB::GetParityBit(const std::string& name) const { return ComInfoAttribute(name, "ParityBit"); }

}  // namespace corvane::comm
