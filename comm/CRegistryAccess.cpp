#include "comm/CRegistryAccess.h"

#include <bit>
#include <cstring>
#include <optional>

#include "platform/CRegStore.h"

namespace corvane::comm {

namespace {

using platform::CRegStore;
using platform::RegRoot;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kStringBuffer = 256;  // bytes read by ReadString, terminator included
constexpr std::size_t kMaxWrittenString = 254;

std::optional<RegRoot> RootOf(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return RegRoot::ClassesRoot;
    case HKEY_CURRENT_USER: return RegRoot::CurrentUser;
    case HKEY_LOCAL_MACHINE: return RegRoot::LocalMachine;
    case HKEY_USERS: return RegRoot::Users;
    default: return std::nullopt;
  }
}

RegRoot Root(HKEY root) { return RootOf(root).value_or(RegRoot::CurrentUser); }

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t Get32(const Bytes& in, std::size_t at) {
  return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
         static_cast<std::uint32_t>(in[at + 2]) << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
}

std::int32_t GetSigned(const Bytes& in, std::size_t at) { return static_cast<std::int32_t>(Get32(in, at)); }

Bytes Words(std::initializer_list<std::uint32_t> words) {
  Bytes out;
  for (std::uint32_t w : words) Put32(out, w);
  return out;
}

}  // namespace

CRegistryAccess::~CRegistryAccess() {
  m_strCurrentPath.clear();
  m_hRootKey = HKEY_CURRENT_USER;
  m_bLazyWrite = true;
}

bool CRegistryAccess::SetRootKey(HKEY root) {
  if (!RootOf(root)) return false;
  m_hRootKey = root;
  return true;
}

// The store writes every change through to disk at once, so a non-lazy object needs no
// extra flush after a create or a write.
bool CRegistryAccess::OpenKey(const std::string& path, bool canCreate) {
  if (path.empty()) {
    m_strCurrentPath.clear();
    return true;
  }
  CRegStore store;
  if (canCreate) {
    if (store.CreateKey(Root(m_hRootKey), path) != platform::kRegOk) return false;
  } else {
    m_nLastError = store.OpenKey(Root(m_hRootKey), path);
    if (m_nLastError != platform::kRegOk) return false;
  }
  m_strCurrentPath = path;
  return true;
}

bool CRegistryAccess::CreateKey(const std::string& path) {
  if (CRegStore().CreateKey(Root(m_hRootKey), path) != platform::kRegOk) return false;
  m_strCurrentPath = path;
  return true;
}

bool CRegistryAccess::DeleteKey(const std::string& path) {
  int rc = CRegStore().DeleteKey(Root(m_hRootKey), path);
  return rc == platform::kRegOk || rc == platform::kRegNotFound;
}

bool CRegistryAccess::DeleteValue(const std::string& name) {
  return CRegStore().DeleteValue(Root(m_hRootKey), m_strCurrentPath, name) == platform::kRegOk;
}

bool CRegistryAccess::KeyExists(const std::string& path, HKEY root) const {
  auto which = RootOf(root == 0 ? m_hRootKey : root);
  return which && CRegStore().KeyExists(*which, path);
}

bool CRegistryAccess::ValueExists(const std::string& name) const {
  return CRegStore().GetValue(Root(m_hRootKey), m_strCurrentPath, name).ok();
}

std::uint32_t CRegistryAccess::GetValueType(const std::string& name) {
  auto got = CRegStore().GetValue(Root(m_hRootKey), m_strCurrentPath, name);
  m_nLastError = got.error;
  return got.ok() ? got.value.type : 0;
}

long CRegistryAccess::GetValueSize(const std::string& name) const {
  auto got = CRegStore().GetValue(Root(m_hRootKey), m_strCurrentPath, name);
  return got.ok() ? static_cast<long>(got.value.data.size()) : -1;
}

int CRegistryAccess::GetSubKeyCount() const {
  auto keys = CRegStore().EnumSubKeys(Root(m_hRootKey), m_strCurrentPath);
  return keys.error == platform::kRegOk ? static_cast<int>(keys.names.size()) : -1;
}

int CRegistryAccess::GetValueCount() const {
  auto values = CRegStore().EnumValues(Root(m_hRootKey), m_strCurrentPath);
  return values.error == platform::kRegOk ? static_cast<int>(values.values.size()) : -1;
}

std::string CRegistryAccess::ReadString(const std::string& name, const std::string& defaultValue) {
  std::uint32_t type = GetValueType(name);
  if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ) return defaultValue;
  CRegStore store;
  m_nLastError = store.OpenKey(Root(m_hRootKey), m_strCurrentPath);
  if (m_nLastError != platform::kRegOk) return defaultValue;
  auto got = store.GetValue(Root(m_hRootKey), m_strCurrentPath, name);
  m_nLastError = got.error;
  if (!got.ok()) return defaultValue;
  if (got.value.data.size() > kStringBuffer) {
    m_nLastError = platform::kRegMoreData;  // does not fit the buffer
    return defaultValue;
  }
  if (got.value.type != platform::REG_SZ && got.value.type != platform::REG_EXPAND_SZ) return defaultValue;
  // Stored data need not end in a zero; the text never runs past the buffer's last character.
  std::string text = CRegStore::TextOf(got.value);
  if (text.size() > kStringBuffer - 1) text.resize(kStringBuffer - 1);
  return text;
}

bool CRegistryAccess::WriteString(const std::string& name, const std::string& text) {
  if (text.size() > kMaxWrittenString) return false;
  if (!CRegStore().KeyExists(Root(m_hRootKey), m_strCurrentPath)) return false;
  return CRegStore().SetString(Root(m_hRootKey), m_strCurrentPath, name, text) == platform::kRegOk;
}

bool CRegistryAccess::ReadRaw(const std::string& name, std::size_t size, Bytes& bytes, bool dwordToo) const {
  auto got = CRegStore().GetValue(Root(m_hRootKey), m_strCurrentPath, name);
  if (!got.ok() || got.value.data.size() != size) return false;
  bool typeOk = got.value.type == platform::REG_BINARY || (dwordToo && got.value.type == platform::REG_DWORD);
  if (!typeOk) return false;
  bytes = std::move(got.value.data);
  return true;
}

// Writes go to an existing key only, as the platform opens it for writing.
bool CRegistryAccess::WriteRaw(const std::string& name, const Bytes& bytes) {
  CRegStore store;
  if (!store.KeyExists(Root(m_hRootKey), m_strCurrentPath)) return false;
  return store.SetBinary(Root(m_hRootKey), m_strCurrentPath, name, bytes) == platform::kRegOk;
}

std::int32_t CRegistryAccess::ReadInt(const std::string& name, std::int32_t defaultValue) const {
  Bytes b;
  return ReadRaw(name, 4, b, true) ? GetSigned(b, 0) : defaultValue;
}

std::uint32_t CRegistryAccess::ReadDword(const std::string& name, std::uint32_t defaultValue) const {
  Bytes b;
  return ReadRaw(name, 4, b, true) ? Get32(b, 0) : defaultValue;
}

bool CRegistryAccess::ReadBool(const std::string& name, bool defaultValue) const {
  Bytes b;
  return ReadRaw(name, 4, b, true) ? Get32(b, 0) != 0 : defaultValue;
}

std::uint32_t CRegistryAccess::ReadColor(const std::string& name, std::uint32_t defaultValue) const {
  Bytes b;
  return ReadRaw(name, 4, b, true) ? Get32(b, 0) : defaultValue;
}

double CRegistryAccess::ReadDouble(const std::string& name, double defaultValue) const {
  Bytes b;
  if (!ReadRaw(name, 8, b)) return defaultValue;
  std::uint64_t bits = Get32(b, 0) | static_cast<std::uint64_t>(Get32(b, 4)) << 32;
  return std::bit_cast<double>(bits);
}

RegWords3 CRegistryAccess::ReadWords3(const std::string& name, std::uint32_t default0, std::uint32_t default1,
                                      std::uint32_t default2) const {
  Bytes b;
  if (!ReadRaw(name, 12, b)) return RegWords3{default0, default1, default2};
  return RegWords3{Get32(b, 0), Get32(b, 4), Get32(b, 8)};
}

bool CRegistryAccess::ReadPoint(const std::string& name, RegPoint& point) const {
  Bytes b;
  if (!ReadRaw(name, 8, b)) return false;
  point = RegPoint{GetSigned(b, 0), GetSigned(b, 4)};
  return true;
}

bool CRegistryAccess::ReadSize(const std::string& name, RegSize& size) const {
  Bytes b;
  if (!ReadRaw(name, 8, b)) return false;
  size = RegSize{GetSigned(b, 0), GetSigned(b, 4)};
  return true;
}

bool CRegistryAccess::ReadRect(const std::string& name, RegRect& rect) const {
  Bytes b;
  if (!ReadRaw(name, 16, b)) return false;
  rect = RegRect{GetSigned(b, 0), GetSigned(b, 4), GetSigned(b, 8), GetSigned(b, 12)};
  return true;
}

bool CRegistryAccess::ReadFont(const std::string& name, RegFont& font) const {
  Bytes b;
  if (!ReadRaw(name, kRegFontBytes, b)) return false;
  RegFont f;
  f.height = GetSigned(b, 0);
  f.width = GetSigned(b, 4);
  f.escapement = GetSigned(b, 8);
  f.orientation = GetSigned(b, 12);
  f.weight = GetSigned(b, 16);
  f.italic = b[20];
  f.underline = b[21];
  f.strikeOut = b[22];
  f.charSet = b[23];
  f.outPrecision = b[24];
  f.clipPrecision = b[25];
  f.quality = b[26];
  f.pitchAndFamily = b[27];
  std::memcpy(f.faceName, b.data() + 28, sizeof f.faceName);
  f.faceName[sizeof f.faceName - 1] = '\0';  // stored bytes may lack the terminator
  font = f;
  return true;
}

bool CRegistryAccess::WriteInt(const std::string& name, std::int32_t value) {
  return WriteRaw(name, Words({static_cast<std::uint32_t>(value)}));
}

bool CRegistryAccess::WriteDword(const std::string& name, std::uint32_t value) { return WriteRaw(name, Words({value})); }

bool CRegistryAccess::WriteBool(const std::string& name, bool value) { return WriteRaw(name, Words({value ? 1u : 0u})); }

bool CRegistryAccess::WriteColor(const std::string& name, std::uint32_t value) { return WriteRaw(name, Words({value})); }

bool CRegistryAccess::WriteDouble(const std::string& name, double value) {
  auto bits = std::bit_cast<std::uint64_t>(value);
  return WriteRaw(name, Words({static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)}));
}

bool CRegistryAccess::WritePoint(const std::string& name, const RegPoint& point) {
  return WriteRaw(name, Words({static_cast<std::uint32_t>(point.x), static_cast<std::uint32_t>(point.y)}));
}

bool CRegistryAccess::WriteSize(const std::string& name, const RegSize& size) {
  return WriteRaw(name, Words({static_cast<std::uint32_t>(size.cx), static_cast<std::uint32_t>(size.cy)}));
}

bool CRegistryAccess::WriteWords3(const std::string& name, const RegWords3& words) {
  return WriteRaw(name, Words({words.w0, words.w1, words.w2}));
}

bool CRegistryAccess::WriteRect(const std::string& name, const RegRect& rect) {
  return WriteRaw(name, Words({static_cast<std::uint32_t>(rect.left), static_cast<std::uint32_t>(rect.top),
                               static_cast<std::uint32_t>(rect.right), static_cast<std::uint32_t>(rect.bottom)}));
}

bool CRegistryAccess::WriteFont(const std::string& name, const RegFont& font) {
  Bytes b = Words({static_cast<std::uint32_t>(font.height), static_cast<std::uint32_t>(font.width),
                   static_cast<std::uint32_t>(font.escapement), static_cast<std::uint32_t>(font.orientation),
                   static_cast<std::uint32_t>(font.weight)});
  for (std::uint8_t byte : {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                            font.clipPrecision, font.quality, font.pitchAndFamily}) {
    b.push_back(byte);
  }
  b.insert(b.end(), font.faceName, font.faceName + sizeof font.faceName);
  b.back() = 0;
  return WriteRaw(name, b);
}

}  // namespace corvane::comm
