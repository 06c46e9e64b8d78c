#include "resources/CResourceModule.h"

namespace corvane {
namespace {
const IResourceModule* g_module = nullptr;
}  // namespace

const IResourceModule* SetResourceModule(const IResourceModule* module) {
  const IResourceModule* previous = g_module;
  g_module = module;
  return previous;
}

const IResourceModule* CurrentResourceModule() { return g_module; }

std::string TranslateText(const char* context, const char* source) {
  if (!source) return {};
  if (g_module)
    if (std::optional<std::string> text = g_module->Translate(context, source)) return *std::move(text);
  return source;
}

}  // namespace corvane
