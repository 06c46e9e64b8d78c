#pragma once
// Accessor of one INI settings file: typed values and their text forms on top of the
// profile-file service. No cache: every call goes to the file. A null section or key
// makes a write fail and a read return its default.
#include <string>

#include "settings/IniGeometry.h"
#include "settings/meStringArray.h"

namespace corvane {

class CIni {
public:
  CIni() = default;
  explicit CIni(const char* path) { SetPathName(path); }
  explicit CIni(const std::string& path) : m_strPathName(path) {}
  virtual ~CIni() = default;

  void SetPathName(const char* path) { m_strPathName = path ? path : ""; }
  int GetPathName(char* buffer, int size) const;  // copies at most size bytes; the path's length
  std::string GetPathName() const { return m_strPathName; }

  std::string GetString(const char* section, const char* key, const char* def = nullptr) const;
  // Copies at most size bytes; the smaller of the value's length and size.
  int GetString(const char* section, const char* key, char* buffer, int size, const char* def = nullptr) const;
  bool WriteString(const char* section, const char* key, const char* value);
  bool AppendString(const char* section, const char* key, const char* text);

  void GetArray(const char* section, const char* key, meStringArray* list, const char* delimiter = ",",
                bool trim = true) const;
  bool WriteArray(const char* section, const char* key, const meStringArray* list, int count = -1,
                  const char* delimiter = ",");

  // Bases 2, 8 and 16; any other base means 10. Reads use the unsigned conversion.
  int GetInt(const char* section, const char* key, int def, int base = 10) const;
  bool WriteInt(const char* section, const char* key, int value, int base = 10);
  bool IncreaseInt(const char* section, const char* key, int increment = 1, int base = 10);
  unsigned GetUInt(const char* section, const char* key, unsigned def, int base = 10) const;
  bool WriteUInt(const char* section, const char* key, unsigned value, int base = 10);
  bool IncreaseUInt(const char* section, const char* key, unsigned increment = 1, int base = 10);

  bool GetBool(const char* section, const char* key, bool def) const;
  bool WriteBool(const char* section, const char* key, bool value);
  bool InvertBool(const char* section, const char* key);

  // precision > 0 gives that many decimals, otherwise 6. Independent of the C locale.
  double GetDouble(const char* section, const char* key, double def) const;
  bool WriteDouble(const char* section, const char* key, double value, int precision = -1);
  bool IncreaseDouble(const char* section, const char* key, double increment, int precision = -1);

  char GetChar(const char* section, const char* key, char def) const;
  bool WriteChar(const char* section, const char* key, char value);

  // Byte count copied; with a null buffer, the count available from offset.
  int GetDataBlock(const char* section, const char* key, void* buffer, int size, int offset = 0) const;
  bool WriteDataBlock(const char* section, const char* key, const void* data, int size);
  bool AppendDataBlock(const char* section, const char* key, const void* data, int size);

  IniPoint GetPoint(const char* section, const char* key, IniPoint def) const;
  bool WritePoint(const char* section, const char* key, IniPoint value);
  IniRect GetRect(const char* section, const char* key, IniRect def) const;
  bool WriteRect(const char* section, const char* key, IniRect value);

  void GetSectionNames(meStringArray* list) const;
  void GetKeyNames(const char* section, meStringArray* list) const;
  bool IsSectionExist(const char* section) const;
  bool IsKeyExist(const char* section, const char* key) const;

  bool CopySection(const char* source, const char* target, bool failIfExist);
  bool MoveSection(const char* source, const char* target, bool failIfExist);
  bool CopyKey(const char* sourceSection, const char* sourceKey, const char* targetSection, const char* targetKey,
               bool failIfExist);
  bool MoveKey(const char* sourceSection, const char* sourceKey, const char* targetSection, const char* targetKey,
               bool failIfExist);
  bool DeleteSection(const char* section);
  bool DeleteKey(const char* section, const char* key);

private:
  std::string ReadNumberText(const char* section, const char* key) const;

  std::string m_strPathName;
};

}  // namespace corvane
