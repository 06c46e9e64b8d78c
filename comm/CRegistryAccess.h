#pragma once
// Named values under one root and one current key path of the registry store; every call
// opens and closes the key on its own, so nothing is held between calls. Failures show only in
// the results (false, -1, 0 or the caller's default) and, for some calls, GetLastError().
#include <cstdint>
#include <string>
#include <vector>

#include "comm/RegistryTypes.h"

namespace corvane::comm {

class CRegistryAccess {
public:
  CRegistryAccess() = default;
  ~CRegistryAccess();

  bool SetRootKey(HKEY root);  // only the four roots
  HKEY GetRootKey() const { return m_hRootKey; }
  bool OpenKey(const std::string& path, bool canCreate = false);
  const std::string& GetCurrentPath() const { return m_strCurrentPath; }
  std::int32_t GetLastError() const { return m_nLastError; }
  void SetLazyWrite(bool lazy) { m_bLazyWrite = lazy; }
  bool GetLazyWrite() const { return m_bLazyWrite; }

  bool CreateKey(const std::string& path);
  bool DeleteKey(const std::string& path);  // with its subkeys; true when it is gone
  bool DeleteValue(const std::string& name);
  bool KeyExists(const std::string& path, HKEY root = 0) const;  // 0: the object's root
  bool ValueExists(const std::string& name) const;
  std::uint32_t GetValueType(const std::string& name);  // 0 when unreadable
  long GetValueSize(const std::string& name) const;    // -1 when unreadable
  int GetSubKeyCount() const;
  int GetValueCount() const;

  std::string ReadString(const std::string& name, const std::string& defaultValue);
  bool WriteString(const std::string& name, const std::string& text);  // under 255 characters

  // Raw-byte values of exactly the record's size.
  std::int32_t ReadInt(const std::string& name, std::int32_t defaultValue) const;
  std::uint32_t ReadDword(const std::string& name, std::uint32_t defaultValue) const;
  bool ReadBool(const std::string& name, bool defaultValue) const;
  std::uint32_t ReadColor(const std::string& name, std::uint32_t defaultValue) const;
  double ReadDouble(const std::string& name, double defaultValue) const;
  RegWords3 ReadWords3(const std::string& name, std::uint32_t default0, std::uint32_t default1,
                       std::uint32_t default2) const;
  bool ReadPoint(const std::string& name, RegPoint& point) const;
  bool ReadSize(const std::string& name, RegSize& size) const;
  bool ReadRect(const std::string& name, RegRect& rect) const;
  bool ReadFont(const std::string& name, RegFont& font) const;

  bool WriteInt(const std::string& name, std::int32_t value);
  bool WriteDword(const std::string& name, std::uint32_t value);
  bool WriteBool(const std::string& name, bool value);
  bool WriteColor(const std::string& name, std::uint32_t value);
  bool WriteDouble(const std::string& name, double value);
  bool WritePoint(const std::string& name, const RegPoint& point);
  bool WriteSize(const std::string& name, const RegSize& size);
  bool WriteWords3(const std::string& name, const RegWords3& words);
  bool WriteRect(const std::string& name, const RegRect& rect);
  bool WriteFont(const std::string& name, const RegFont& font);

private:
  bool ReadRaw(const std::string& name, std::size_t size, std::vector<std::uint8_t>& bytes,
               bool dwordToo = false) const;
  bool WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes);

  std::int32_t m_nLastError = 0;
  HKEY m_hRootKey = HKEY_CURRENT_USER;
  bool m_bLazyWrite = true;
  std::string m_strCurrentPath;
};

}  // namespace corvane::comm
