#include "app/ui/CCorvaneDoc.h"

#include "app/ui/CChildFrame.h"
#include "app/ui/CCorvaneView.h"
#include "framework/ui/CMyMultiDocTemplate.h"

namespace corvane {

CMyMultiDocTemplate* CCorvaneDoc::CreateBuiltInTemplate() {
  return new CMyMultiDocTemplate(
      134, [] { return std::make_unique<CCorvaneDoc>(); }, [] { return new CChildFrame; },
      [] { return new CCorvaneView; });
}

}  // namespace corvane
