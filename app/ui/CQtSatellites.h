#pragma once
// Satellites as Qt translation files: a file declares its language with the translation's
// language tag (zh_TW), and a current satellite serves both tr() and the string table.
#include "app/CLanguageModule.h"

namespace corvane {

class CQtSatellites final : public ISatelliteLoader {
public:
  ~CQtSatellites() override;
  std::unique_ptr<ISatellite> Load(const std::string& path) override;
  std::uint16_t LanguageOf(const std::string& path) override;
  void MakeCurrent(ISatellite* satellite) override;

private:
  ISatellite* m_pCurrent = nullptr;
};

}  // namespace corvane
