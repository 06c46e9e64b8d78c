// Dialogs built while a satellite is current show no English text that the satellite leaves
// untranslated: a text left in English by mistake (not wrapped for translation, or missing
// from the translation file) is caught here.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <filesystem>

#include "app/CLanguageModule.h"
#include "app/CModuleCatalogue.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/CConfigureDlg.h"
#include "app/ui/CQtSatellites.h"
#include "comm/CommConf.h"
#include "comm/ui/CCommSetDlg.h"
#include "comm/ui/CIPListDlg.h"
#include "comm/ui/CSerialLineDlg.h"
#include "platform/CProfileStore.h"
#include "settings/CIni.h"
#include "tests/frame/GuiTestSupport.h"

namespace corvane::test {
namespace {

// Texts the translation file keeps as they are (names, units, protocol names).
QSet<QString> SameInTranslation(const QString& ts) {
  QSet<QString> same;
  QFile file(ts);
  if (!file.open(QIODevice::ReadOnly)) return same;
  QXmlStreamReader xml(&file);
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    else if (xml.name() == QLatin1String("translation") && xml.readElementText() == source) same.insert(source);
  }
  return same;
}

// A text with a Latin word that is neither kept by the translation nor data of the test.
bool LooksUntranslated(const QString& text, const QSet<QString>& same, const QSet<QString>& data) {
  const QString t = text.trimmed();
  if (t.isEmpty() || same.contains(text) || same.contains(t) || data.contains(t)) return false;
  static const QRegularExpression latinWord("[A-Za-z]{2,}");
  static const QRegularExpression dataLike("^(COM\\d+|\\d[\\d.]*|[\\d.: ]+)$");
  if (dataLike.match(t).hasMatch()) return false;
  for (const QChar c : t)
    if (c.unicode() > 0x2000) return false;  // carries translated (CJK) text
  return latinWord.match(t).hasMatch();
}

std::vector<std::string> Untranslated(QWidget& dialog, const QSet<QString>& same, const QSet<QString>& data) {
  QStringList texts{dialog.windowTitle()};
  for (auto* w : dialog.findChildren<QLabel*>()) texts << w->text();
  for (auto* w : dialog.findChildren<QAbstractButton*>()) texts << w->text();
  for (auto* w : dialog.findChildren<QGroupBox*>()) texts << w->title();
  for (auto* w : dialog.findChildren<QComboBox*>())
    for (int i = 0; i < w->count(); ++i) texts << w->itemText(i);
  std::vector<std::string> out;
  for (const QString& t : texts)
    if (LooksUntranslated(t, same, data)) out.push_back(t.toStdString());
  return out;
}

class DialogTextsTest : public ::testing::TestWithParam<const char*> {
protected:
  void SetUp() override {
    EnsureApplication();
    const std::string bin = m_dir.path().toStdString();
    const std::string qm = std::string("corvane") + (std::string(GetParam()) == "zh_TW" ? "CHT" : "CHS") + ".qm";
    std::filesystem::copy_file(std::filesystem::path(CORVANE_BIN_DIR) / qm, bin + "/" + qm);
    m_module.SetExecutablePath(bin + "/corvane");
    m_module.SetLoader(&m_loader);
    m_module.SetCurrent(std::string(GetParam()) == "zh_TW" ? 1028 : 2052);
    ASSERT_TRUE(m_module.LoadSatellite());
    m_same = SameInTranslation(QString(CORVANE_SOURCE_DIR "/resources/corvane_") + GetParam() + ".ts");
  }
  void TearDown() override { m_module.UnloadSatellite(); }

  TempSettingsHome m_home;
  QTemporaryDir m_dir;
  CQtSatellites m_loader;
  CLanguageModule m_module;
  QSet<QString> m_same;
};

TEST_P(DialogTextsTest, CommunicationIpListConfigureAndAboutDialogs) {
  const QSet<QString> data{"eth0 (e1000e)", "Version 1.23", "Copyright (C) Zelmar", CAboutDlg::kMakerSite};
  for (int type : {0, 1, 2}) {
    CommConf record;
    record.CommType = type;
    std::vector<std::string> names{"eth0 (e1000e)"}, ips{"192.168.1.10"};
    comm::CCommSetDlg commset(record, names, ips, false, [] { return 0u; }, [] {});
    EXPECT_EQ(Untranslated(commset, m_same, data), std::vector<std::string>{}) << "type " << type;
    comm::CIPListDlg list(record, nullptr, &commset);
    EXPECT_EQ(Untranslated(list, m_same, data), std::vector<std::string>{});
  }
  comm::CSerialLineDlg line(3);
  EXPECT_EQ(Untranslated(line, m_same, data), std::vector<std::string>{});
  CIni ini;
  const CModuleCatalogue catalogue(ini);
  meStringArray open, selected;
  CConfigureDlg configure(catalogue, open, selected);
  EXPECT_EQ(Untranslated(configure, m_same, data), std::vector<std::string>{});
  CAboutDlg about("Version 1.23", "Copyright (C) Zelmar");
  EXPECT_EQ(Untranslated(about, m_same, data), std::vector<std::string>{});

  // Without the satellite the same probe finds the English texts.
  m_module.UnloadSatellite();
  CommConf record;
  comm::CIPListDlg english(record, nullptr);
  EXPECT_GE(Untranslated(english, m_same, data).size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Shipped, DialogTextsTest, ::testing::Values("zh_TW", "zh_CN"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace corvane::test
