#pragma once
// The resource module in force: the program's own texts, or a satellite that replaces them.
// Texts are looked up by their context ("Strings", "Menu", "ToolBar", a dialog's class) and
// their own-language text, the keys a translation file carries.
#include <optional>
#include <string>

namespace corvane {

class IResourceModule {
public:
  virtual ~IResourceModule() = default;
  // The module's text, or nothing when it has none for this source.
  virtual std::optional<std::string> Translate(const char* context, const char* source) const = 0;
};

// Null: the program's own resources. Not owned; returns the previous module.
const IResourceModule* SetResourceModule(const IResourceModule* module);
const IResourceModule* CurrentResourceModule();

// The current module's text for source, else source itself (empty for null).
std::string TranslateText(const char* context, const char* source);

}  // namespace corvane
