#include "app/CLanguageModule.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/ui/CQtSatellites.h"
#include "platform/CLocaleTable.h"
#include "platform/CProfileStore.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"
#include "tests/frame/GuiTestSupport.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRestartEnglish = "Please restart %1 to enable the language setting.";
constexpr const char* kRestartCht = "請重新啟動 %1 以套用語言設定。";
constexpr const char* kRestartChs = "请重新启动 %1 以使语言设置生效。";

// The Qt loader, with the satellite files it was asked to load.
class RecordingLoader : public ISatelliteLoader {
public:
  std::unique_ptr<ISatellite> Load(const std::string& path) override {
    loads.push_back(fs::path(path).filename().string());
    return m_real.Load(path);
  }
  std::uint16_t LanguageOf(const std::string& path) override { return m_real.LanguageOf(path); }
  void MakeCurrent(ISatellite* satellite) override { m_real.MakeCurrent(satellite); }

  std::vector<std::string> loads;

private:
  CQtSatellites m_real;
};

class LanguageModuleTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    m_home = std::make_unique<TempSettingsHome>();
    m_bin = m_dir.path().toStdString() + "/bin";
    fs::create_directories(m_bin);
    m_module = std::make_unique<CLanguageModule>();
    m_module->SetExecutablePath(m_bin + "/corvane");
    m_module->SetProfile(&m_profile);
    m_module->SetLoader(&m_loader);
    m_module->SetUiLanguages(&m_ui);
  }
  void TearDown() override {
    m_module.reset();  // unloads before the loader goes
    m_home.reset();
  }

  // A built satellite copied beside the executable under the given name.
  void Place(const char* built, const std::string& as) {
    fs::copy_file(fs::path(CORVANE_BIN_DIR) / built, m_bin + "/" + as, fs::copy_options::overwrite_existing);
  }
  void Store(int language) { m_profile.WriteProfileInt("", "LanguageID", language); }

  QTemporaryDir m_dir;
  std::unique_ptr<TempSettingsHome> m_home;
  std::string m_bin;
  std::map<std::string, std::string> m_env;
  platform::CUiLanguages m_ui{[this](const char* name) -> const char* {
                                auto it = m_env.find(name);
                                return it == m_env.end() ? nullptr : it->second.c_str();
                              },
                              "/nonexistent/locale"};
  platform::CProfileStore m_profile;
  RecordingLoader m_loader;
  std::unique_ptr<CLanguageModule> m_module;
};

TEST_F(LanguageModuleTest, StoredTraditionalChineseStartsInTraditionalChinese) {
  Place("corvaneCHT.qm", "corvaneCHT.qm");
  Place("corvaneCHS.qm", "corvaneCHS.qm");
  Store(1028);
  ASSERT_TRUE(m_module->Initialize());
  EXPECT_EQ(m_module->Current(), 1028);
  EXPECT_EQ(m_loader.loads, std::vector<std::string>{"corvaneCHT.qm"});
  // String table, menus and dialogs all take the satellite's texts.
  EXPECT_EQ(LoadString(500), kRestartCht);
  EXPECT_EQ(TranslateText("Menu", "&File"), "檔案(&F)");
  EXPECT_EQ(QCoreApplication::translate("corvane::comm::CCommSetDlg", "Parity").toStdString(), "同位檢查");
  m_module->UnloadSatellite();
  EXPECT_EQ(LoadString(500), kRestartEnglish);
  EXPECT_EQ(QCoreApplication::translate("corvane::comm::CCommSetDlg", "Parity").toStdString(), "Parity");
}

TEST_F(LanguageModuleTest, HongKongFallsBackToThePrimaryLanguageThenItsDefaultSubLanguage) {
  Place("corvaneCHT.qm", "corvaneCHT.qm");
  Store(3076);
  ASSERT_TRUE(m_module->Initialize());
  EXPECT_EQ(m_module->Current(), 1028);
  // Language 4 alone has no abbreviation, so no file is tried for it.
  EXPECT_EQ(m_loader.loads, (std::vector<std::string>{"corvaneZHH.qm", "corvaneCHT.qm"}));
  EXPECT_EQ(LoadString(500), kRestartCht);
}

TEST_F(LanguageModuleTest, OwnLanguageLoadsNoSatellite) {
  Place("corvaneCHT.qm", "corvaneCHT.qm");
  Place("corvaneCHT.qm", "corvaneENU.qm");
  Store(1033);
  m_env["LANGUAGE"] = "zh_TW";
  ASSERT_TRUE(m_module->Initialize());
  EXPECT_EQ(m_module->Current(), 1033);
  EXPECT_FALSE(m_module->HasSatellite());
  EXPECT_TRUE(m_loader.loads.empty());
  EXPECT_EQ(LoadString(500), kRestartEnglish);
}

TEST_F(LanguageModuleTest, WithoutAStoredLanguageTheUsersLanguageDecidesThenTheOwnOne) {
  Place("corvaneCHS.qm", "corvaneCHS.qm");
  m_env["LANGUAGE"] = "zh_CN:en";
  ASSERT_TRUE(m_module->Initialize());
  EXPECT_EQ(m_module->Current(), 2052);
  EXPECT_EQ(LoadString(500), kRestartChs);

  m_env = {{"LANG", "de_DE.UTF-8"}};
  m_loader.loads.clear();
  ASSERT_TRUE(m_module->Initialize());
  EXPECT_EQ(m_module->Current(), 1033);
  EXPECT_FALSE(m_module->HasSatellite());
  // German as the user's interface language and again as the user's locale; then our own.
  EXPECT_EQ(m_loader.loads, (std::vector<std::string>{"corvaneDEU.qm", "corvaneDEU.qm"}));
}

TEST_F(LanguageModuleTest, ListsOwnLanguageFirstAndEverySatelliteThatDeclaresOne) {
  Place("corvaneCHT.qm", "corvaneCHT.qm");
  Place("corvaneCHT.qm", "corvaneZHH.qm");  // declares Traditional Chinese too
  Place("corvaneCHS.qm", "corvaneCHS.qm");
  Place("corvaneCHS.qm", "corvaneCHS.qm.old");
  Place("corvaneCHS.qm", "corvaneCHSX.qm");
  std::ofstream(m_bin + "/corvaneBAD.qm") << "not a translation";
  fs::copy_file(NOLANG_QM, m_bin + "/corvaneNOL.qm");
  m_module->EnumLanguages();
  const std::vector<std::uint16_t>& list = m_module->Languages();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], 1033);
  EXPECT_EQ(std::count(list.begin(), list.end(), 1028), 2);
  EXPECT_EQ(std::count(list.begin(), list.end(), 2052), 1);

  const LanguageMenu menu = m_module->FillLanguageMenu();
  ASSERT_EQ(menu.items.size(), 4u);
  EXPECT_EQ(menu.items[0].id, 28416u);
  EXPECT_EQ(menu.items[0].text, "English (ENU)");
  EXPECT_EQ(menu.items[3].id, 28419u);
  EXPECT_EQ(menu.checked, 0u);  // nothing selected yet
  m_module->SetCurrent(2052);
  const LanguageMenu after = m_module->FillLanguageMenu();
  const auto chs = std::find(list.begin(), list.end(), 2052) - list.begin();
  EXPECT_EQ(after.checked, 28416u + chs);
  EXPECT_EQ(after.items[static_cast<std::size_t>(chs)].text, "Chinese (CHS)");
}

TEST_F(LanguageModuleTest, LanguageNames) {
  EXPECT_EQ(m_module->GetLanguageName(1028), "Chinese (CHT)");
  EXPECT_EQ(m_module->GetLanguageName(3076), "Chinese (ZHH)");
  EXPECT_EQ(m_module->GetLanguageName(1033), "English (ENU)");
  EXPECT_EQ(m_module->GetLanguageName(1081), "हिन्दी");  // no ANSI code page: the native name
  EXPECT_EQ(m_module->GetLanguageName(1234), "1234 - ???");
}

TEST_F(LanguageModuleTest, ChoosingALanguageShowsTheRestartMessageInItAndKeepsTheRunningOne) {
  Place("corvaneCHT.qm", "corvaneCHT.qm");
  Place("corvaneCHS.qm", "corvaneCHS.qm");
  Store(1028);
  ASSERT_TRUE(m_module->Initialize());
  m_module->FillLanguageMenu();
  const auto& list = m_module->Languages();
  const auto index = [&](std::uint16_t language) {
    return 28416u + static_cast<unsigned>(std::find(list.begin(), list.end(), language) - list.begin());
  };
  RecordingPrompts prompts;
  // The running satellite's file goes away: the interface still keeps it.
  fs::remove(m_bin + "/corvaneCHT.qm");
  m_module->SelectLanguage(index(2052), false);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "请重新启动 Corvane 以使语言设置生效。");
  EXPECT_EQ(m_profile.GetProfileInt("", "LanguageID", 0), 2052);
  EXPECT_EQ(m_module->Current(), 1028);
  EXPECT_EQ(LoadString(500), kRestartCht);
  EXPECT_EQ(QCoreApplication::translate("corvane::comm::CIPListDlg", "Delete").toStdString(), "刪除");

  m_module->SelectLanguage(index(1033), false);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, "Please restart Corvane to enable the language setting.");
  EXPECT_EQ(m_profile.GetProfileInt("", "LanguageID", 0), 1033);
  EXPECT_EQ(LoadString(500), kRestartCht);

  // Outside the list: nothing.
  m_module->SelectLanguage(28416u + static_cast<unsigned>(list.size()), false);
  m_module->SelectLanguage(28415u, false);
  EXPECT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(m_profile.GetProfileInt("", "LanguageID", 0), 1033);
}

TEST_F(LanguageModuleTest, ChoiceWhoseSatelliteFailsSpeaksInTheLanguageInForce) {
  Place("corvaneCHS.qm", "corvaneCHS.qm");
  Store(2052);
  ASSERT_TRUE(m_module->Initialize());
  m_module->FillLanguageMenu();
  fs::remove(m_bin + "/corvaneCHS.qm");  // chosen below, gone before it loads
  RecordingPrompts prompts;
  m_module->SelectLanguage(28417, false);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "请重新启动 Corvane 以使语言设置生效。");
  EXPECT_EQ(LoadString(500), kRestartChs);
}

}  // namespace
}  // namespace corvane::test
