// The host functions the module SDK looks up by name (sdk/CorvaneModule.h): the frame's link
// object, and opening and closing the link the user set. corvane_module_host() keeps them linked.
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "libs/portlink/CPortLink.h"

namespace {
corvane::CFrameServices* FrameServices() {
  corvane::CCorvaneApp* app = corvane::CCorvaneApp::Instance();
  corvane::CMainFrame* frame = app ? app->GetMainFrame() : nullptr;
  return frame ? frame->Services() : nullptr;
}
}  // namespace

extern "C" __attribute__((visibility("default"))) CPortLink* CorvaneFrameLink() {
  corvane::CFrameServices* services = FrameServices();
  return services ? &services->PortLink() : nullptr;
}

extern "C" __attribute__((visibility("default"))) int CorvaneFrameOpenLink(int* linkType) {
  corvane::CFrameServices* services = FrameServices();
  if (!services) return -1;
  if (linkType) *linkType = services->Conf().CommType;
  return services->Link().OpenLink();
}

extern "C" __attribute__((visibility("default"))) void CorvaneFrameCloseLink(int handle) {
  corvane::CFrameServices* services = FrameServices();
  if (services && handle >= 0) services->Link().CloseLink(handle);
}
