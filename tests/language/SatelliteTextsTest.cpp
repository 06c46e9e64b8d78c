// Every text a user sees has a translation in every shipped satellite.
#include <gtest/gtest.h>

#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>

#include <functional>

#include "resources/CMenuResource.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

struct Satellite {
  const char* qm;
  const char* ts;
  const char* language;
};

constexpr Satellite kSatellites[] = {
    {"corvaneCHT.qm", "corvane_zh_TW.ts", "zh_TW"},
    {"corvaneCHS.qm", "corvane_zh_CN.ts", "zh_CN"},
};

// The frame's toolbar titles.
constexpr const char* kToolBarTitles[] = {"Standard", "Edit", "Communication", "Application", "Window"};

class SatelliteTextsTest : public ::testing::TestWithParam<Satellite> {};

TEST_P(SatelliteTextsTest, StringTableMenusAndToolbarsAreTranslated) {
  QTranslator translator;
  ASSERT_TRUE(translator.load(QString(CORVANE_BIN_DIR "/") + GetParam().qm));
  EXPECT_EQ(translator.language(), GetParam().language);
  const auto missing = [&](const char* context, const char* text) {
    return translator.translate(context, text).isEmpty();
  };
  for (const StringEntry& e : CStringTable::Entries())
    EXPECT_FALSE(missing(CStringTable::kContext, e.text)) << e.id << " " << e.text;
  std::function<void(const std::vector<MenuItem>&)> walk = [&](const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
      if (item.text) {
        EXPECT_FALSE(missing("Menu", item.text)) << item.text;
      }
      walk(item.popup);
    }
  };
  int menus = 0;
  for (unsigned id : {128u, 134u, 137u}) {
    EXPECT_FALSE(CMenuResource::Menu(id).empty()) << id;
    walk(CMenuResource::Menu(id));
    ++menus;
  }
  EXPECT_EQ(menus, 3);
  for (const char* title : kToolBarTitles) EXPECT_FALSE(missing("ToolBar", title)) << title;
}

// Dialog texts are reached only through tr(): the translation file must hold no message that
// is unfinished or empty.
TEST_P(SatelliteTextsTest, TranslationFileHasNoUnfinishedMessage) {
  QFile file(QString(CORVANE_SOURCE_DIR "/resources/") + GetParam().ts);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  int messages = 0;
  QString context;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value("type").toString();
      EXPECT_TRUE(type.isEmpty()) << context.toStdString() << ": " << source.toStdString() << " is " << type.toStdString();
      EXPECT_FALSE(xml.readElementText().isEmpty()) << context.toStdString() << ": " << source.toStdString();
      ++messages;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(messages, 100);
}

INSTANTIATE_TEST_SUITE_P(Shipped, SatelliteTextsTest, ::testing::ValuesIn(kSatellites),
                         [](const auto& info) { return std::string(info.param.language); });

}  // namespace
}  // namespace corvane
