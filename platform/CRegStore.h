#pragma once
// A registry over REGEDIT4 text files, one file per root (see CAppFolders). Every operation
// reads the file; every change rewrites it atomically (temporary file, fsync, rename) under a
// lock file, so separate processes see each other's changes and a crash never leaves half a
// file. Key and value names compare case-insensitively (ASCII), and keep the case they were
// created with. The key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM is volatile: while
// a provider is installed, it answers every read of that key and the key is never written.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// The platform's value type numbers.
enum RegType : std::uint32_t { REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4 };

// The platform's result codes.
enum RegError : int {
  kRegOk = 0,
  kRegNotFound = 2,
  kRegAccessDenied = 5,
  kRegInvalidParameter = 87,
  kRegMoreData = 234,
  kRegBadFile = 1009,
  kRegCantWrite = 1013,
};

struct RegValue {
  std::string name;                // empty: the key's default value (@)
  std::uint32_t type = REG_NONE;
  std::vector<std::uint8_t> data;  // strings: the text and its terminating zero
};

struct RegValueResult {
  int error = kRegNotFound;
  RegValue value;
  bool ok() const { return error == kRegOk; }
};

struct RegValuesResult {
  int error = kRegNotFound;
  std::vector<RegValue> values;  // in file order
};

struct RegKeysResult {
  int error = kRegNotFound;
  std::vector<std::string> names;  // immediate subkeys, sorted case-insensitively
};

// Name = data pairs of the volatile serial-port map ("\Device\ttyUSB0" = "COM3"); stored as REG_SZ.
using RegStringPairs = std::vector<std::pair<std::string, std::string>>;
using SerialCommProvider = std::function<RegStringPairs()>;

class CRegStore {
public:
  static constexpr const char* kSerialCommPath = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
  static constexpr std::size_t kMaxKeyNameLength = 255;
  static constexpr std::size_t kMaxValueNameLength = 16383;
  static constexpr std::size_t kMaxDepth = 512;
  static constexpr std::size_t kMaxValueBytes = 1u << 20;
  static constexpr std::size_t kMaxFileBytes = 32u << 20;

  // An empty function removes the provider. The provider may itself read the store.
  static void SetSerialCommProvider(SerialCommProvider provider);
  static bool HasSerialCommProvider();

  static std::string RootName(RegRoot root);  // "HKEY_LOCAL_MACHINE"
  static std::string FilePath(RegRoot root);

  // Paths are relative to the root, components separated by '\'; empty components are ignored
  // and the empty path is the root itself.
  bool KeyExists(RegRoot root, const std::string& path) const;
  int OpenKey(RegRoot root, const std::string& path) const;  // kRegOk, kRegNotFound or a read error
  int CreateKey(RegRoot root, const std::string& path);      // with its missing parents
  int DeleteKey(RegRoot root, const std::string& path);      // with every subkey
  RegValueResult GetValue(RegRoot root, const std::string& path, const std::string& name) const;
  int SetValue(RegRoot root, const std::string& path, const RegValue& value);  // creates the key
  int DeleteValue(RegRoot root, const std::string& path, const std::string& name);
  RegValuesResult EnumValues(RegRoot root, const std::string& path) const;
  RegKeysResult EnumSubKeys(RegRoot root, const std::string& path) const;

  int SetString(RegRoot root, const std::string& path, const std::string& name, const std::string& text,
                std::uint32_t type = REG_SZ);
  int SetDword(RegRoot root, const std::string& path, const std::string& name, std::uint32_t value);
  int SetBinary(RegRoot root, const std::string& path, const std::string& name,
                const std::vector<std::uint8_t>& bytes);

  // The text of a string value: its bytes up to the first zero.
  static std::string TextOf(const RegValue& value);
  // A REG_DWORD of exactly four bytes, little-endian.
  static std::optional<std::uint32_t> DwordOf(const RegValue& value);
};

}  // namespace corvane::platform
