// A module for the host tests. Its framework symbols come from the test program that loads
// it, as a module's come from the program. It records what it receives in $CORVANE_TEST_RECORD.
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CView.h"

namespace {

void Record(const std::string& line) {
  if (const char* path = std::getenv("CORVANE_TEST_RECORD")) std::ofstream(path, std::ios::app) << line << "\n";
}

class TestDoc : public corvane::CDocument {
public:
  TestDoc() {
    for (unsigned id : {corvane::cmd::ID_MODULE_AFTER_SEARCH, corvane::cmd::ID_MODULE_DATA_LOAD,
                        corvane::cmd::ID_MODULE_DATA_SAVE, corvane::cmd::ID_MODULE_LINK_PRESET})
      MapCommand(id, [id] { Record(std::string(MODULE_NAME) + " " + std::to_string(id)); });
  }
  bool OnNewDocument() override {
    SetTitle(MODULE_NAME);
    return true;
  }
};

class TestTemplate : public corvane::CMyMultiDocTemplate {
public:
  TestTemplate()
      : CMyMultiDocTemplate(
            2000, [] { return std::make_unique<TestDoc>(); }, nullptr, [] { return new corvane::CView; }) {}
  ~TestTemplate() override { Record(std::string(MODULE_NAME) + " template-deleted"); }
};

__attribute__((destructor)) void OnUnload() { Record(std::string(MODULE_NAME) + " library-freed"); }

}  // namespace

extern "C" __attribute__((visibility("default"))) void* DLLDocTemplate() {
#ifdef NULL_TEMPLATE
  return nullptr;
#else
  return new TestTemplate;
#endif
}

extern "C" __attribute__((visibility("default"))) int CorvaneModuleSdkVersion() { return SDK_VERSION; }
