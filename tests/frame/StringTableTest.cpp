#include "resources/CMenuResource.h"
#include "resources/CStringTable.h"

#include <set>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(StringTable, IdentifiersAreSortedAndUnique) {
  const auto entries = CStringTable::Entries();
  ASSERT_FALSE(entries.empty());
  for (std::size_t i = 1; i < entries.size(); ++i) EXPECT_LT(entries[i - 1].id, entries[i].id) << entries[i].id;
}

TEST(StringTable, Texts) {
  const struct { unsigned id; const char* text; } rows[] = {
      {500, "Please restart %1 to enable the language setting."},
      {501, "Processing..."},
      {502, "\nModule Searching..."},
      {503, "Cannot open the specified communication!"},
      {504, "Device not found! Please check the device connection."},
      {506, "Time"},
      {507, "Description"},
      {509, "Network Type"},
      {510, "Ethernet"},
      {511, "DeviceNet"},
      {512, "Communication Card"},
      {513, "SMX"},
      {514, "Save changes to file?"},
      {516, "The file is invalid! The project file has been modified!"},
      {57344, "Corvane"},
      {15300, "Communication parameters setting\nCommunication setting"},
      {15260, "Open CardTool\nCardTool"},
  };
  for (const auto& r : rows) EXPECT_EQ(LoadString(r.id), r.text) << r.id;
  EXPECT_EQ(LoadString(1), "");
  EXPECT_EQ(CStringTable::Find(1), nullptr);
}

TEST(StringTable, PaneSizingStringsStartWithTheirSample) {
  EXPECT_EQ(LoadString(15000).rfind("Ethernet ", 0), 0u);
  EXPECT_EQ(LoadString(15001).rfind("255.255.255.255 ", 0), 0u);
}

TEST(StringTable, PromptAndTooltip) {
  EXPECT_EQ(CStringTable::Prompt(15250), "Search module");
  EXPECT_EQ(CStringTable::Tooltip(15250), "Search");
  EXPECT_EQ(CStringTable::Tooltip(57344), "Corvane");
}

TEST(StringTable, EveryToolbarButtonHasATooltip) {
  for (unsigned bar : {128u, 130u, 131u, 132u, 135u}) {
    const ToolBarResource* t = CMenuResource::ToolBar(bar);
    ASSERT_NE(t, nullptr) << bar;
    for (unsigned id : t->buttons)
      if (id) {
        EXPECT_FALSE(CStringTable::Tooltip(id).empty()) << id;
      }
  }
}

TEST(MenuResource, AcceleratorsSendFrameworkCommands) {
  std::set<unsigned> ids;
  for (const Accelerator& a : CMenuResource::Accelerators(128)) {
    if (std::string(a.key) == "Ctrl+N") {
      EXPECT_EQ(a.id, 57600u);
    }
    if (std::string(a.key) == "Ctrl+O") {
      EXPECT_EQ(a.id, 57601u);
    }
    if (std::string(a.key) == "Ctrl+S") {
      EXPECT_EQ(a.id, 57603u);
    }
    ids.insert(a.id);
  }
  EXPECT_EQ(CMenuResource::Accelerators(134).size(), CMenuResource::Accelerators(128).size());
  EXPECT_EQ(ids.count(15350), 0u);
  EXPECT_EQ(ids.count(15351), 0u);
  EXPECT_EQ(ids.count(15352), 0u);
}

}  // namespace
}  // namespace corvane
