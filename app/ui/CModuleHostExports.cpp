// The host functions the module SDK looks up by name (sdk/CorvaneModule.h): the frame's link
// object, and opening and closing the link the user set. corvane_module_host() keeps them linked.
#include <cstring>
#include <string>

#include "app/CModuleLinkTarget.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "comm/CLink.h"
#include "libs/portlink/CPortLink.h"

namespace {

corvane::CFrameServices* FrameServices() {
  corvane::CCorvaneApp* app = corvane::CCorvaneApp::Instance();
  corvane::CMainFrame* frame = app ? app->GetMainFrame() : nullptr;
  return frame ? frame->Services() : nullptr;
}

// Over Ethernet with a module name: a Modbus TCP connection to the module's own device (from the
// last search); otherwise the link the user set.
corvane::CLink OpenForModule(corvane::CFrameServices& services, const char* moduleName) {
  const corvane::CommConf& conf = services.Conf();
  if (!corvane::IsLinkType(conf.CommType, corvane::LinkType::Ethernet) || !moduleName) return services.Link().OpenLink();
  const std::string name(moduleName, ::strnlen(moduleName, 256));
  const std::string code = corvane::CCorvaneApp::Instance()->FindModuleCode(name);
  const std::uint32_t address = corvane::ModuleDeviceAddress(code, services.Search().Replies(),
                                                              static_cast<std::uint32_t>(conf.IPAddress));
  if (address == 0) {
    services.LogLine(name + ": no device address known; search the link or set the device's address");
    return {};
  }
  return services.Link().OpenModbusTcp(address, name + ": ");
}

// A module of SDK 1 holds the bare handle; the link stays with the frame until it is closed.
int LendToModule(corvane::CFrameServices& services, corvane::CLink link, int* linkType) {
  if (linkType) *linkType = link ? link.TypeNumber() : services.Conf().CommType;
  return services.Link().Lend(std::move(link));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) CPortLink* CorvaneFrameLink() {
  corvane::CFrameServices* services = FrameServices();
  return services ? &services->PortLink() : nullptr;
}

extern "C" __attribute__((visibility("default"))) int CorvaneFrameOpenLink(int* linkType) {
  corvane::CFrameServices* services = FrameServices();
  if (!services) return -1;
  return LendToModule(*services, services->Link().OpenLink(), linkType);
}

extern "C" __attribute__((visibility("default"))) int CorvaneFrameOpenModuleLink(const char* moduleName, int* linkType) {
  corvane::CFrameServices* services = FrameServices();
  if (!services) return -1;
  return LendToModule(*services, OpenForModule(*services, moduleName), linkType);
}

// Closes the link behind the handle as what it was opened as.
extern "C" __attribute__((visibility("default"))) void CorvaneFrameCloseLink(int handle) {
  if (corvane::CFrameServices* services = FrameServices()) services->Link().CloseLent(handle);
}

// The link as an owning value the module holds: it closes when the module's value goes.
extern "C" __attribute__((visibility("default"))) bool CorvaneFrameTakeModuleLink(const char* moduleName,
                                                                                 corvane::CLink* out) {
  if (!out) return false;
  corvane::CFrameServices* services = FrameServices();
  *out = services ? OpenForModule(*services, moduleName) : corvane::CLink{};
  return out->IsOpen();
}
