#pragma once
// The built-in document: empty, stores nothing.
#include "framework/ui/CDocument.h"

namespace corvane {

class CMyMultiDocTemplate;

class CCorvaneDoc : public CDocument {
public:
  CCorvaneDoc() = default;

  // The built-in template (resource 134, CCorvaneDoc, CChildFrame, CCorvaneView); the caller
  // hands it to the document manager, which owns it.
  static CMyMultiDocTemplate* CreateBuiltInTemplate();
};

}  // namespace corvane
