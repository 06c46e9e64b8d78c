// The smallest module: one document that reports the device search in the output log.
#include "framework/CommandIds.h"
#include "framework/FrameMessages.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"
#include "sdk/CorvaneModule.h"

namespace {

class CExampleDoc : public corvane::CDocument {
public:
  CExampleDoc() {
    MapCommand(corvane::cmd::ID_MODULE_AFTER_SEARCH, [] {
      if (auto* frame = corvane::AfxGetMainFrame())
        frame->SendMessage(corvane::WM_OUTPUT_ADD_LINE, 0,
                           reinterpret_cast<corvane::LPARAM>("Example module: search done"));
    });
  }
  bool OnNewDocument() override {
    if (!CDocument::OnNewDocument()) return false;
    SetTitle("EXAMPLE");
    return true;
  }
};

corvane::CMyMultiDocTemplate* MakeTemplate() {
  return new corvane::CMyMultiDocTemplate(
      0, [] { return std::make_unique<CExampleDoc>(); }, nullptr, [] { return new corvane::CView; });
}

}  // namespace

CORVANE_DECLARE_MODULE(MakeTemplate())
