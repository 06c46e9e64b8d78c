#include "app/ui/CQtSatellites.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

#include "platform/CLocaleTable.h"

namespace corvane {
namespace {

// Translation files are small; anything far larger is not one of ours.
constexpr qint64 kMaxSatelliteBytes = 16 * 1024 * 1024;

class CQtSatellite final : public ISatellite {
public:
  bool Load(const std::string& path) {
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kMaxSatelliteBytes) return false;
    return m_translator.load(file);
  }
  std::optional<std::string> Translate(const char* context, const char* source) const override {
    const QString text = m_translator.translate(context, source);
    if (text.isNull()) return std::nullopt;
    return text.toStdString();
  }
  QTranslator* Translator() { return &m_translator; }

private:
  QTranslator m_translator;
};

}  // namespace

CQtSatellites::~CQtSatellites() { MakeCurrent(nullptr); }

std::unique_ptr<ISatellite> CQtSatellites::Load(const std::string& path) {
  auto satellite = std::make_unique<CQtSatellite>();
  if (!satellite->Load(path)) return nullptr;
  return satellite;
}

std::uint16_t CQtSatellites::LanguageOf(const std::string& path) {
  CQtSatellite satellite;
  if (!satellite.Load(path)) return 0;
  return platform::CLocaleTable::FromLocaleName(satellite.Translator()->language().toStdString());
}

void CQtSatellites::MakeCurrent(ISatellite* satellite) {
  if (satellite == m_pCurrent) return;
  if (m_pCurrent && QCoreApplication::instance())
    QCoreApplication::removeTranslator(static_cast<CQtSatellite*>(m_pCurrent)->Translator());
  if (satellite && QCoreApplication::instance())
    QCoreApplication::installTranslator(static_cast<CQtSatellite*>(satellite)->Translator());
  SetResourceModule(satellite);
  m_pCurrent = satellite;
}

}  // namespace corvane
