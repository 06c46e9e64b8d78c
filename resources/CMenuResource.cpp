#include "resources/CMenuResource.h"

#include <array>

#include "resources/CStringTable.h"

namespace corvane {
namespace {

MenuItem Item(const char* text, unsigned id) { return MenuItem{text, id, {}}; }
MenuItem Sep() { return MenuItem{}; }
MenuItem Popup(const char* text, std::vector<MenuItem> items) { return MenuItem{text, 0, std::move(items)}; }

MenuItem ViewMenu() {
  return Popup(CVN_STR("Menu", "&View"),
               {Popup(CVN_STR("Menu", "&Toolbars"),
                      {Item(CVN_STR("Menu", "&Standard"), 10701), Item(CVN_STR("Menu", "&Edit"), 10702),
                       Item(CVN_STR("Menu", "&Communication"), 10703),
                       Item(CVN_STR("Menu", "&Zelmar Applications"), 10704),
                       Item(CVN_STR("Menu", "&Window"), 10705)}),
                Item(CVN_STR("Menu", "&Workspace"), 15150), Item(CVN_STR("Menu", "&Output"), 15151),
                Item(CVN_STR("Menu", "&Status Bar"), 59393)});
}

MenuItem CommunicationMenu(bool withModuleCommands) {
  std::vector<MenuItem> items{Item(CVN_STR("Menu", "&Communication Setting"), 15300),
                              Popup(CVN_STR("Menu", "&Language"), {})};
  // The popup's own action carries the update command that fills it.
  items.back().id = 15302;
  if (withModuleCommands) {
    items.push_back(Sep());
    items.push_back(Item(CVN_STR("Menu", "&Run PLC"), 15253));
    items.push_back(Item(CVN_STR("Menu", "&Stop PLC"), 15254));
    items.push_back(Item(CVN_STR("Menu", "&Send Message"), 15301));
    items.push_back(Sep());
    items.push_back(Item(CVN_STR("Menu", "&Customize..."), 15153));
  }
  return Popup(CVN_STR("Menu", "&Tools"), std::move(items));
}

MenuItem HelpMenu() {
  return Popup(CVN_STR("Menu", "&Help"),
               {Item(CVN_STR("Menu", "&Corvane User Manual"), 15400),
                Item(CVN_STR("Menu", "&Revision History"), 15401), Sep(),
                Item(CVN_STR("Menu", "&About Corvane..."), 57664)});
}

const std::vector<MenuItem> kMenu128{
    Popup(CVN_STR("Menu", "&File"),
          {Item(CVN_STR("Menu", "&New\tCtrl+N"), 15350), Item(CVN_STR("Menu", "&Open...\tCtrl+O"), 15351), Sep(),
           Item(CVN_STR("Menu", "P&rint Setup..."), 57606), Sep(), Item(CVN_STR("Menu", "Recent File"), 57616),
           Sep(), Item(CVN_STR("Menu", "E&xit"), 57665)}),
    ViewMenu(), CommunicationMenu(false), HelpMenu()};

const std::vector<MenuItem> kMenu134{
    Popup(CVN_STR("Menu", "&File"),
          {Item(CVN_STR("Menu", "&New\tCtrl+N"), 15350), Item(CVN_STR("Menu", "&Open...\tCtrl+O"), 15351),
           Item(CVN_STR("Menu", "&Save\tCtrl+S"), 15352), Item(CVN_STR("Menu", "Save &As...\tCtrl+Alt+S"), 15353),
           Sep(), Item(CVN_STR("Menu", "&Print...\tCtrl+P"), 57607),
           Item(CVN_STR("Menu", "Print Pre&view"), 57609), Item(CVN_STR("Menu", "P&rint Setup..."), 57606), Sep(),
           Item(CVN_STR("Menu", "Recent File"), 57616), Sep(), Item(CVN_STR("Menu", "E&xit"), 57665)}),
    ViewMenu(), CommunicationMenu(true),
    Popup(CVN_STR("Menu", "&Window"),
          {Item(CVN_STR("Menu", "&Cascade"), 57650), Item(CVN_STR("Menu", "&Tile"), 57651)}),
    HelpMenu()};

const std::vector<MenuItem> kMenu137{Popup("Configure", {Item(CVN_STR("Menu", "Configure"), 15051)})};

const std::vector<MenuItem> kNoMenu;

const std::array kToolBars{
    ToolBarResource{128, {15350, 15351, 15352, 15353, 57607}},
    ToolBarResource{130, {15301}},
    ToolBarResource{132, {15300, 15250, 15251}},
    ToolBarResource{135, {15255, 15256, 15257, 15258, 15259, 15260}},
    ToolBarResource{131, {57650, 57651}},
};

constexpr std::array kAccelerators{
    Accelerator{"Ctrl+C", 57634},    Accelerator{"Ctrl+N", 57600},       Accelerator{"Ctrl+O", 57601},
    Accelerator{"Ctrl+P", 57607},    Accelerator{"Ctrl+S", 57603},       Accelerator{"Ctrl+V", 57637},
    Accelerator{"Alt+Backspace", 57643}, Accelerator{"Shift+Del", 57635}, Accelerator{"F6", 57680},
    Accelerator{"Shift+F6", 57681},  Accelerator{"Ctrl+Ins", 57634},     Accelerator{"Shift+Ins", 57637},
    Accelerator{"Ctrl+X", 57635},    Accelerator{"Ctrl+Z", 57643},
};

}  // namespace

const std::vector<MenuItem>& CMenuResource::Menu(unsigned id) {
  switch (id) {
    case 128: return kMenu128;
    case 134: return kMenu134;
    case 137: return kMenu137;
    default: return kNoMenu;
  }
}

const ToolBarResource* CMenuResource::ToolBar(unsigned id) {
  for (const auto& t : kToolBars)
    if (t.id == id) return &t;
  return nullptr;
}

std::span<const Accelerator> CMenuResource::Accelerators(unsigned id) {
  if (id == 128 || id == 134) return kAccelerators;
  return {};
}

}  // namespace corvane
