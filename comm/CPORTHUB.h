#pragma once
// Read-only view of the communication manager's driver catalogue "DriverInfo.dri".
// Every query parses the catalogue afresh, so queries never depend on each other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "widgets/CXmlNavigator.h"

namespace corvane::comm {

class CPORTHUB {
public:
  static constexpr const char* kCatalogueFile = "DriverInfo.dri";
  static constexpr std::size_t kMaxFileBytes = 16u << 20;  // the file is outside our control

  virtual ~CPORTHUB() = default;

  // The manager's install folder from its App Paths entry; empty when it is not registered.
  std::string GetInstallPath() const;
  // Reads folder + "DriverInfo.dri" (no separator is inserted). An empty folder, a missing,
  // unreadable or oversized file keeps the previous catalogue; false then.
  bool Load(const std::string& folder);
  const std::string& GetCatalogueText() const { return m_strCatalogue; }

  int GetDriverCount() const;
  std::string GetDriverName(int index) const;  // empty when there is none
  // -1 when no driver carries the name; 0 for a missing or non-numeric attribute.
  std::int32_t GetDriverID(const std::string& name) const;
  std::int32_t GetCommInterface(const std::string& name) const;
  std::int32_t GetDriverStatus(const std::string& name) const;
  std::int32_t GetTimeOutRetryTime(const std::string& name) const;
  std::int32_t GetTimeOutInterval(const std::string& name) const;
  // Of the driver's ComInfo; -1 also when the driver is not serial or USB.
  std::int32_t GetPortNumber(const std::string& name) const;
  std::int32_t GetPLCStationNum(const std::string& name) const;
  std::int32_t GetBaudRate(const std::string& name) const;
  std::int32_t GetDataBits(const std::string& name) const;
  std::int32_t GetStopBit(const std::string& name) const;
  std::int32_t GetParityBit(const std::string& name) const;

  // Bytes as read to catalogue text: FF FE marks UTF-16LE (converted to UTF-8), else as is.
  static std::string DecodeFile(std::string_view bytes);
  // Optional leading blanks and sign, then digits; 0 without digits; clamped to 32 bits.
  static std::int32_t ToDecimal(std::string_view text);

private:
  std::int32_t DriverAttribute(const std::string& name, std::string_view attribute) const;
  std::int32_t ComInfoAttribute(const std::string& name, std::string_view attribute) const;

  // The catalogue parsed once per load; each query starts from a rewound cursor, which is
  // the same as a fresh navigator on the same text.
  CXmlNavigator& Fresh() const;

  std::string m_strCatalogue;
  mutable CXmlNavigator m_nav;
};

}  // namespace corvane::comm
