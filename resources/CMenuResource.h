#pragma once
// Menus, toolbars and accelerator tables as data, by resource identifier; the Qt edge builds
// its widgets from them.
#include <span>
#include <vector>

namespace corvane {

struct MenuItem {
  const char* text = nullptr;  // null: a separator
  unsigned id = 0;             // 0 for a popup
  std::vector<MenuItem> popup;
};

struct ToolBarResource {
  unsigned id;
  std::vector<unsigned> buttons;  // 0: a separator
};

struct Accelerator {
  const char* key;  // Qt-style key text: "Ctrl+N"
  unsigned id;
};

class CMenuResource {
public:
  // 128 (no document), 134 (built-in document), 137 (device tree item); empty when unknown.
  static const std::vector<MenuItem>& Menu(unsigned id);
  // 128, 130, 131, 132, 135; null when unknown.
  static const ToolBarResource* ToolBar(unsigned id);
  // Tables 128 and 134 are the same.
  static std::span<const Accelerator> Accelerators(unsigned id);
};

}  // namespace corvane
