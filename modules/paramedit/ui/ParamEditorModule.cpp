// One source, several libraries: each build of this file is the parameter editor of one device
// type, named by MODULE_TITLE, reading Config/Params/PARAM_FILE beside the executable.
#include <dlfcn.h>

#include <memory>
#include <string>

#include "modules/paramedit/ui/CParamEditorDoc.h"
#include "modules/paramedit/ui/CParamEditorView.h"
#include "sdk/CorvaneModule.h"

#ifndef MODULE_TITLE
#error "MODULE_TITLE must name the module (the catalogue's module name)"
#endif
#ifndef PARAM_FILE
#error "PARAM_FILE must name the parameter description file"
#endif

namespace {

// The folder this library was loaded from: the executable folder.
std::string LibraryFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) || !info.dli_fname) return ".";
  const std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

corvane::CMyMultiDocTemplate* MakeTemplate() {
  const std::string paramFile = LibraryFolder() + "/Config/Params/" PARAM_FILE;
  return new corvane::CMyMultiDocTemplate(
      0, [paramFile] { return std::make_unique<corvane::paramedit::CParamEditorDoc>(MODULE_TITLE, paramFile); },
      nullptr, [] { return new corvane::paramedit::CParamEditorView; });
}

}  // namespace

CORVANE_DECLARE_MODULE(MakeTemplate())
