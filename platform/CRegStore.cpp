#include "platform/CRegStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string_view>

#include "platform/CAppFolders.h"

namespace corvane::platform {

namespace {

using KeyPath = std::vector<std::string>;

constexpr std::size_t kMaxLineBytes = 4u << 20;   // one physical or joined line
constexpr std::size_t kMaxProviderValues = 4096;
constexpr std::size_t kHexBytesPerLine = 25;

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool HasPrefix(const KeyPath& path, const KeyPath& prefix) {
  if (path.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (!EqualsNoCase(path[i], prefix[i])) return false;
  }
  return true;
}

bool SamePath(const KeyPath& a, const KeyPath& b) { return a.size() == b.size() && HasPrefix(a, b); }

bool HasControlChar(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Key names may not hold control characters: the file keeps one key a line.
std::optional<KeyPath> SplitPath(std::string_view path) {
  KeyPath keys;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (!part.empty()) {
      if (part.size() > CRegStore::kMaxKeyNameLength || HasControlChar(part)) return std::nullopt;
      if (keys.size() >= CRegStore::kMaxDepth) return std::nullopt;
      keys.emplace_back(part);
    }
    start = end + 1;
  }
  return keys;
}

bool ValidValueName(std::string_view name) {
  return name.size() <= CRegStore::kMaxValueNameLength &&
         std::none_of(name.begin(), name.end(), [](char c) { return c == '\0' || c == '\r' || c == '\n'; });
}

struct Section {
  std::string root;  // as written in the file
  KeyPath keys;
  std::vector<RegValue> values;
};

struct Document {
  std::vector<Section> sections;
};

struct LoadResult {
  int error = kRegOk;
  Document doc;
};

int FindSection(const Document& doc, const std::string& root, const KeyPath& keys) {
  for (std::size_t i = 0; i < doc.sections.size(); ++i) {
    const Section& s = doc.sections[i];
    if (EqualsNoCase(s.root, root) && SamePath(s.keys, keys)) return static_cast<int>(i);
  }
  return -1;
}

bool KeyIn(const Document& doc, const std::string& root, const KeyPath& keys) {
  if (keys.empty()) return true;
  return std::any_of(doc.sections.begin(), doc.sections.end(), [&](const Section& s) {
    return EqualsNoCase(s.root, root) && HasPrefix(s.keys, keys);
  });
}

int FindValue(const std::vector<RegValue>& values, std::string_view name) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (EqualsNoCase(values[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

void Upsert(std::vector<RegValue>& values, RegValue value) {
  int at = FindValue(values, value.name);
  if (at < 0) {
    values.push_back(std::move(value));
  } else {
    value.name = values[static_cast<std::size_t>(at)].name;  // keep the first spelling
    values[static_cast<std::size_t>(at)] = std::move(value);
  }
}

// ---- reading the text format ----

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Fold(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

// A quoted text starting at text[0] == '"'; sets `used` to the characters consumed.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& used) {
  std::string out;
  std::size_t i = 1;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      out += text[i + 1];
      i += 2;
    } else if (c == '"') {
      used = i + 1;
      return out;
    } else {
      out += c;
      ++i;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view list) {
  std::vector<std::uint8_t> bytes;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view token = TrimRight(TrimLeft(list.substr(start, end - start)));
    if (!token.empty()) {
      if (token.size() > 2) return std::nullopt;
      auto byte = ParseHexNumber(token);
      if (!byte || bytes.size() >= CRegStore::kMaxValueBytes) return std::nullopt;
      bytes.push_back(static_cast<std::uint8_t>(*byte));
    }
    start = end + 1;
  }
  return bytes;
}

std::optional<RegValue> ParseData(std::string_view data) {
  RegValue value;
  data = TrimLeft(data);
  if (!data.empty() && data.front() == '"') {
    std::size_t used = 0;
    auto text = ParseQuoted(data, used);
    if (!text || text->size() >= CRegStore::kMaxValueBytes) return std::nullopt;
    value.type = REG_SZ;
    value.data.assign(text->begin(), text->end());
    value.data.push_back(0);
    return value;
  }
  if (StartsWithNoCase(data, "dword:")) {
    auto number = ParseHexNumber(TrimRight(data.substr(6)));
    if (!number) return std::nullopt;
    value.type = REG_DWORD;
    for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<std::uint8_t>(*number >> shift));
    return value;
  }
  std::string_view list;
  if (StartsWithNoCase(data, "hex:")) {
    value.type = REG_BINARY;
    list = data.substr(4);
  } else if (StartsWithNoCase(data, "hex(")) {
    std::size_t close = data.find(')');
    if (close == std::string_view::npos || close + 1 >= data.size() || data[close + 1] != ':') return std::nullopt;
    auto type = ParseHexNumber(data.substr(4, close - 4));
    if (!type) return std::nullopt;
    value.type = *type;
    list = data.substr(close + 2);
  } else {
    return std::nullopt;
  }
  auto bytes = ParseHexBytes(list);
  if (!bytes) return std::nullopt;
  value.data = std::move(*bytes);
  return value;
}

std::optional<std::pair<std::string, KeyPath>> ParseHeader(std::string_view line) {
  std::size_t close = line.rfind(']');
  if (close == std::string_view::npos || close < 1) return std::nullopt;
  std::string_view inner = line.substr(1, close - 1);
  if (inner.empty() || inner.front() == '-') return std::nullopt;  // "[-key]" is a deletion request
  std::size_t slash = inner.find('\\');
  std::string_view root = inner.substr(0, slash);
  bool known = std::any_of(std::begin(kRootNames), std::end(kRootNames),
                           [&](const char* name) { return EqualsNoCase(root, name); });
  if (!known) return std::nullopt;
  auto keys = SplitPath(slash == std::string_view::npos ? std::string_view{} : inner.substr(slash + 1));
  if (!keys) return std::nullopt;
  return std::make_pair(std::string(root), std::move(*keys));
}

// Lines that cannot be understood are skipped; the rest of the file still counts.
Document Parse(std::string_view text) {
  Document doc;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t pos = 0;
  auto nextLine = [&](std::string_view& line) {
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  };
  int current = -1;
  std::string_view raw;
  while (nextLine(raw)) {
    std::string_view line = TrimLeft(raw);
    if (line.empty() || line.front() == ';' || line.size() > kMaxLineBytes) continue;
    if (line.front() == '[') {
      current = -1;
      auto header = ParseHeader(TrimRight(line));
      if (!header) continue;
      current = FindSection(doc, header->first, header->second);
      if (current < 0) {
        doc.sections.push_back(Section{header->first, std::move(header->second), {}});
        current = static_cast<int>(doc.sections.size()) - 1;
      }
      continue;
    }
    if (line.front() != '"' && line.front() != '@') continue;

    std::string name;
    std::size_t used = 1;
    if (line.front() == '"') {
      auto quoted = ParseQuoted(line, used);
      if (!quoted) continue;
      name = std::move(*quoted);
    }
    std::string_view rest = TrimLeft(line.substr(used));
    if (rest.empty() || rest.front() != '=') continue;
    rest = TrimLeft(rest.substr(1));

    // Hex data may run over several lines, each but the last ending in a backslash.
    std::string joined;
    if (StartsWithNoCase(rest, "hex")) {
      joined.assign(TrimRight(rest));
      bool tooLong = false;
      std::string_view more;
      while (!joined.empty() && joined.back() == '\\') {
        const std::size_t mark = pos;
        if (!nextLine(more)) break;
        more = TrimRight(TrimLeft(more));
        if (!more.empty() && (more.front() == '[' || more.front() == '"' || more.front() == '@')) {
          pos = mark;  // a new entry, not a continuation: read it in its own right
          break;
        }
        joined.pop_back();
        if (joined.size() + more.size() > kMaxLineBytes) tooLong = true;
        if (!tooLong) joined.append(more);
      }
      if (tooLong) continue;
      rest = joined;
    }
    if (current < 0 || !ValidValueName(name)) continue;
    auto value = ParseData(rest);
    if (!value) continue;
    value->name = std::move(name);
    Upsert(doc.sections[static_cast<std::size_t>(current)].values, std::move(*value));
  }
  return doc;
}

// ---- writing the text format ----

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 0xF];
    if (i + 1 < bytes.size()) {
      out += ',';
      if ((i + 1) % kHexBytesPerLine == 0) out += "\\\n  ";
    }
  }
}

// A plain quoted string only where it reads back byte for byte.
bool QuotableString(const RegValue& v) {
  if (v.type != REG_SZ || v.data.empty() || v.data.back() != 0) return false;
  return std::none_of(v.data.begin(), v.data.end() - 1,
                      [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void AppendValue(std::string& out, const RegValue& v) {
  out += v.name.empty() ? std::string("@") : Quote(v.name);
  out += '=';
  if (QuotableString(v)) {
    out += Quote(std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
  } else if (v.type == REG_DWORD && v.data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | v.data[static_cast<std::size_t>(i)];
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(n));
    out += buffer;
  } else {
    if (v.type == REG_BINARY) {
      out += "hex:";
    } else {
      char buffer[24];
      std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(v.type));
      out += buffer;
    }
    AppendHex(out, v.data);
  }
  out += '\n';
}

std::string Serialize(const Document& doc) {
  std::string out = "REGEDIT4\n";
  for (const Section& s : doc.sections) {
    out += "\n[";
    out += s.root;
    for (const std::string& key : s.keys) {
      out += '\\';
      out += key;
    }
    out += "]\n";
    for (const RegValue& v : s.values) AppendValue(out, v);
  }
  return out;
}

// ---- files ----

class UniqueFd {
public:
  explicit UniqueFd(int fd = -1) : m_fd(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }
  int Get() const { return m_fd; }
  bool Valid() const { return m_fd >= 0; }
  int Release() { int fd = m_fd; m_fd = -1; return fd; }
  void Reset(int fd = -1) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
  }

private:
  int m_fd;
};

int ErrorFromErrno(int err) {
  return (err == EACCES || err == EPERM || err == EROFS) ? kRegAccessDenied : kRegCantWrite;
}

LoadResult LoadFile(const std::string& file) {
  LoadResult result;
  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    if (errno == ENOENT || errno == ENOTDIR) return result;  // no file yet: an empty root
    result.error = (errno == EACCES || errno == EPERM) ? kRegAccessDenied : kRegBadFile;
    return result;
  }
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<unsigned long long>(st.st_size) > CRegStore::kMaxFileBytes) {
    result.error = kRegBadFile;
    return result;
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = kRegBadFile;
      return result;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > CRegStore::kMaxFileBytes) {  // grew while we read it
      result.error = kRegBadFile;
      return result;
    }
  }
  result.doc = Parse(text);
  return result;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

int SaveFile(const std::string& file, const Document& doc, mode_t newMode) {
  std::filesystem::path target(file);
  std::string folder = target.parent_path().string();
  std::string temp = folder + "/." + target.filename().string() + ".XXXXXX";
  UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.Valid()) return ErrorFromErrno(errno);
  auto fail = [&](int err) {
    fd.Reset();
    ::unlink(temp.c_str());
    return ErrorFromErrno(err);
  };
  struct stat st {};
  mode_t mode = (::stat(file.c_str(), &st) == 0) ? (st.st_mode & 07777) : newMode;
  if (::fchmod(fd.Get(), mode) != 0) return fail(errno);
  if (!WriteAll(fd.Get(), Serialize(doc))) return fail(errno);
  if (::fsync(fd.Get()) != 0) return fail(errno);
  if (::close(fd.Release()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return ErrorFromErrno(err);
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return ErrorFromErrno(err);
  }
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) ::fsync(dir.Get());  // the rename itself reaches the disk
  return kRegOk;
}

// Serialises writers of one file across processes (and threads: each holds its own open).
class WriteLock {
public:
  explicit WriteLock(const std::string& file) {
    std::filesystem::path target(file);
    std::string lockFile = target.parent_path().string() + "/." + target.filename().string() + ".lock";
    m_fd.Reset(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    const int createError = errno;
    if (!m_fd.Valid()) m_fd.Reset(::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!m_fd.Valid()) {
      // The read-only retry of a lock file that is not there says ENOENT; the reason is the create's.
      m_error = ErrorFromErrno(errno == ENOENT ? createError : errno);
      return;
    }
    while (::flock(m_fd.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) {
        m_error = ErrorFromErrno(errno);
        return;
      }
    }
  }
  int Error() const { return m_error; }

private:
  UniqueFd m_fd;
  int m_error = kRegOk;
};

// ---- the volatile serial-port map ----

std::mutex& ProviderMutex() {
  static std::mutex mutex;
  return mutex;
}

SerialCommProvider& ProviderSlot() {
  static SerialCommProvider provider;
  return provider;
}

SerialCommProvider CopyProvider() {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  return ProviderSlot();
}

const KeyPath& SerialCommKeys() {
  static const KeyPath keys = *SplitPath(CRegStore::kSerialCommPath);
  return keys;
}

bool IsVolatile(RegRoot root, const KeyPath& keys) {
  return root == RegRoot::LocalMachine && HasPrefix(keys, SerialCommKeys()) && CRegStore::HasSerialCommProvider();
}

// Set while this thread runs the provider: its own reads of the store see the plain file
// instead of calling it again.
thread_local bool t_inProvider = false;

std::vector<RegValue> ProviderValues(const SerialCommProvider& provider) {
  RegStringPairs pairs;
  t_inProvider = true;
  try {
    pairs = provider();
  } catch (...) {
    pairs.clear();  // a failing provider shows an empty map
  }
  t_inProvider = false;
  std::vector<RegValue> values;
  for (auto& [name, data] : pairs) {
    if (values.size() >= kMaxProviderValues) break;
    if (!ValidValueName(name) || data.size() >= CRegStore::kMaxValueBytes) continue;
    if (FindValue(values, name) >= 0) continue;
    RegValue v{name, REG_SZ, {}};
    v.data.assign(data.begin(), data.end());
    v.data.push_back(0);
    values.push_back(std::move(v));
  }
  return values;
}

// What a read of `keys` sees: the file, with the volatile key laid over it. The provider runs
// only for reads on the volatile key's line (its parents or itself), as it may scan devices.
LoadResult ReadView(RegRoot root, const KeyPath& keys) {
  std::optional<std::vector<RegValue>> live;
  const bool related = HasPrefix(keys, SerialCommKeys()) || HasPrefix(SerialCommKeys(), keys);
  if (root == RegRoot::LocalMachine && related && !t_inProvider) {
    SerialCommProvider provider = CopyProvider();
    if (provider) live = ProviderValues(provider);  // called with no lock held: it may read the store
  }
  LoadResult loaded = LoadFile(CRegStore::FilePath(root));
  if (loaded.error != kRegOk || !live) return loaded;
  const KeyPath& serial = SerialCommKeys();
  auto& sections = loaded.doc.sections;
  sections.erase(std::remove_if(sections.begin(), sections.end(),
                                [&](const Section& s) {
                                  return EqualsNoCase(s.root, kRootNames[2]) && HasPrefix(s.keys, serial);
                                }),
                 sections.end());
  sections.push_back(Section{kRootNames[2], serial, std::move(*live)});
  return loaded;
}

// Applies `change` to the file's document and saves it when it reports a change. A first pass
// without the lock keeps no-op and failing requests from touching the disk.
template <typename Change>
int Mutate(RegRoot root, Change change) {
  const std::string file = CRegStore::FilePath(root);
  {
    LoadResult probe = LoadFile(file);
    if (probe.error != kRegOk) return probe.error;
    bool changed = false;
    int rc = change(probe.doc, changed);
    if (rc != kRegOk || !changed) return rc;
  }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  if (ec) return ErrorFromErrno(ec.value());
  WriteLock lock(file);
  if (lock.Error() != kRegOk) return lock.Error();
  LoadResult loaded = LoadFile(file);
  if (loaded.error != kRegOk) return loaded.error;
  bool changed = false;
  int rc = change(loaded.doc, changed);
  if (rc != kRegOk || !changed) return rc;
  mode_t mode = (root == RegRoot::CurrentUser) ? 0600 : 0644;
  return SaveFile(file, loaded.doc, mode);
}

// Adds a section for the key and each missing parent, spelled as the existing keys are, and
// keeps a subtree together in the file.
std::size_t EnsureKey(Document& doc, const std::string& root, const KeyPath& keys, bool& changed) {
  KeyPath canonical;
  int at = -1;
  for (std::size_t depth = 0; depth < keys.size(); ++depth) {
    canonical.push_back(keys[depth]);
    int lastBelow = -1;
    for (std::size_t i = 0; i < doc.sections.size(); ++i) {
      const Section& s = doc.sections[i];
      if (!EqualsNoCase(s.root, root) || !HasPrefix(s.keys, canonical)) continue;
      canonical.back() = s.keys[depth];
      lastBelow = static_cast<int>(i);
    }
    at = FindSection(doc, root, canonical);
    if (at >= 0) continue;
    // After the parent's subtree, or at the end.
    std::size_t insertAt = doc.sections.size();
    if (lastBelow < 0 && depth > 0) {
      KeyPath parent(canonical.begin(), canonical.end() - 1);
      for (std::size_t i = 0; i < doc.sections.size(); ++i) {
        const Section& s = doc.sections[i];
        if (EqualsNoCase(s.root, root) && HasPrefix(s.keys, parent)) insertAt = i + 1;
      }
    }
    doc.sections.insert(doc.sections.begin() + static_cast<std::ptrdiff_t>(insertAt),
                        Section{root, canonical, {}});
    at = static_cast<int>(insertAt);
    changed = true;
  }
  if (keys.empty()) {
    at = FindSection(doc, root, keys);
    if (at < 0) {
      doc.sections.insert(doc.sections.begin(), Section{root, {}, {}});
      at = 0;
      changed = true;
    }
  }
  return static_cast<std::size_t>(at);
}

}  // namespace

void CRegStore::SetSerialCommProvider(SerialCommProvider provider) {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  ProviderSlot() = std::move(provider);
}

bool CRegStore::HasSerialCommProvider() {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  return static_cast<bool>(ProviderSlot());
}

std::string CRegStore::RootName(RegRoot root) {
  auto index = static_cast<std::size_t>(root);
  return index < std::size(kRootNames) ? kRootNames[index] : kRootNames[1];
}

std::string CRegStore::FilePath(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return CAppFolders::ClassesRootRegistryFile();
    case RegRoot::CurrentUser: return CAppFolders::CurrentUserRegistryFile();
    case RegRoot::LocalMachine: return CAppFolders::LocalMachineRegistryFile();
    case RegRoot::Users: return CAppFolders::UsersRegistryFile();
  }
  return CAppFolders::CurrentUserRegistryFile();
}

bool CRegStore::KeyExists(RegRoot root, const std::string& path) const { return OpenKey(root, path) == kRegOk; }

int CRegStore::OpenKey(RegRoot root, const std::string& path) const {
  auto keys = SplitPath(path);
  if (!keys) return kRegNotFound;
  LoadResult view = ReadView(root, *keys);
  if (view.error != kRegOk) return view.error;
  return KeyIn(view.doc, RootName(root), *keys) ? kRegOk : kRegNotFound;
}

int CRegStore::CreateKey(RegRoot root, const std::string& path) {
  auto keys = SplitPath(path);
  if (!keys) return kRegInvalidParameter;
  if (IsVolatile(root, *keys)) return SamePath(*keys, SerialCommKeys()) ? kRegOk : kRegAccessDenied;
  if (keys->empty()) return kRegOk;
  const std::string rootName = RootName(root);
  return Mutate(root, [&](Document& doc, bool& changed) {
    EnsureKey(doc, rootName, *keys, changed);
    return kRegOk;
  });
}

int CRegStore::DeleteKey(RegRoot root, const std::string& path) {
  auto keys = SplitPath(path);
  if (!keys || keys->empty()) return kRegInvalidParameter;  // a root cannot go
  if (IsVolatile(root, *keys)) return kRegAccessDenied;
  const std::string rootName = RootName(root);
  return Mutate(root, [&](Document& doc, bool& changed) {
    auto& sections = doc.sections;
    auto end = std::remove_if(sections.begin(), sections.end(), [&](const Section& s) {
      return EqualsNoCase(s.root, rootName) && HasPrefix(s.keys, *keys);
    });
    if (end == sections.end()) return static_cast<int>(kRegNotFound);
    sections.erase(end, sections.end());
    changed = true;
    return static_cast<int>(kRegOk);
  });
}

RegValueResult CRegStore::GetValue(RegRoot root, const std::string& path, const std::string& name) const {
  RegValueResult result;
  auto keys = SplitPath(path);
  if (!keys) return result;
  LoadResult view = ReadView(root, *keys);
  if (view.error != kRegOk) {
    result.error = view.error;
    return result;
  }
  int at = FindSection(view.doc, RootName(root), *keys);
  if (at < 0) return result;
  const auto& values = view.doc.sections[static_cast<std::size_t>(at)].values;
  int v = FindValue(values, name);
  if (v < 0) return result;
  result.error = kRegOk;
  result.value = values[static_cast<std::size_t>(v)];
  return result;
}

int CRegStore::SetValue(RegRoot root, const std::string& path, const RegValue& value) {
  auto keys = SplitPath(path);
  if (!keys || !ValidValueName(value.name) || value.data.size() > kMaxValueBytes) return kRegInvalidParameter;
  if (IsVolatile(root, *keys)) return kRegAccessDenied;
  const std::string rootName = RootName(root);
  return Mutate(root, [&](Document& doc, bool& changed) {
    Section& section = doc.sections[EnsureKey(doc, rootName, *keys, changed)];
    int at = FindValue(section.values, value.name);
    if (at >= 0) {
      const RegValue& old = section.values[static_cast<std::size_t>(at)];
      if (old.type == value.type && old.data == value.data) return static_cast<int>(kRegOk);
    }
    Upsert(section.values, value);
    changed = true;
    return static_cast<int>(kRegOk);
  });
}

int CRegStore::DeleteValue(RegRoot root, const std::string& path, const std::string& name) {
  auto keys = SplitPath(path);
  if (!keys) return kRegNotFound;
  if (IsVolatile(root, *keys)) return kRegAccessDenied;
  const std::string rootName = RootName(root);
  return Mutate(root, [&](Document& doc, bool& changed) {
    int at = FindSection(doc, rootName, *keys);
    if (at < 0) return static_cast<int>(kRegNotFound);
    auto& values = doc.sections[static_cast<std::size_t>(at)].values;
    int v = FindValue(values, name);
    if (v < 0) return static_cast<int>(kRegNotFound);
    values.erase(values.begin() + v);
    changed = true;
    return static_cast<int>(kRegOk);
  });
}

RegValuesResult CRegStore::EnumValues(RegRoot root, const std::string& path) const {
  RegValuesResult result;
  auto keys = SplitPath(path);
  if (!keys) return result;
  LoadResult view = ReadView(root, *keys);
  if (view.error != kRegOk) {
    result.error = view.error;
    return result;
  }
  const std::string rootName = RootName(root);
  if (!KeyIn(view.doc, rootName, *keys)) return result;
  result.error = kRegOk;
  int at = FindSection(view.doc, rootName, *keys);
  if (at >= 0) result.values = view.doc.sections[static_cast<std::size_t>(at)].values;
  return result;
}

RegKeysResult CRegStore::EnumSubKeys(RegRoot root, const std::string& path) const {
  RegKeysResult result;
  auto keys = SplitPath(path);
  if (!keys) return result;
  LoadResult view = ReadView(root, *keys);
  if (view.error != kRegOk) {
    result.error = view.error;
    return result;
  }
  const std::string rootName = RootName(root);
  if (!KeyIn(view.doc, rootName, *keys)) return result;
  result.error = kRegOk;
  for (const Section& s : view.doc.sections) {
    if (!EqualsNoCase(s.root, rootName) || s.keys.size() <= keys->size() || !HasPrefix(s.keys, *keys)) continue;
    const std::string& child = s.keys[keys->size()];
    bool known = std::any_of(result.names.begin(), result.names.end(),
                             [&](const std::string& n) { return EqualsNoCase(n, child); });
    if (!known) result.names.push_back(child);
  }
  std::sort(result.names.begin(), result.names.end(), LessNoCase);
  return result;
}

int CRegStore::SetString(RegRoot root, const std::string& path, const std::string& name, const std::string& text,
                         std::uint32_t type) {
  RegValue value{name, type, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return SetValue(root, path, value);
}

int CRegStore::SetDword(RegRoot root, const std::string& path, const std::string& name, std::uint32_t number) {
  RegValue value{name, REG_DWORD, {}};
  for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<std::uint8_t>(number >> shift));
  return SetValue(root, path, value);
}

int CRegStore::SetBinary(RegRoot root, const std::string& path, const std::string& name,
                         const std::vector<std::uint8_t>& bytes) {
  return SetValue(root, path, RegValue{name, REG_BINARY, bytes});
}

std::string CRegStore::TextOf(const RegValue& value) {
  auto zero = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
  return std::string(value.data.begin(), zero);
}

std::optional<std::uint32_t> CRegStore::DwordOf(const RegValue& value) {
  if (value.type != REG_DWORD || value.data.size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>(value.data[0]) | static_cast<std::uint32_t>(value.data[1]) << 8 |
         static_cast<std::uint32_t>(value.data[2]) << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
}

}  // namespace corvane::platform
