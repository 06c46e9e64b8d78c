// The host functions the module SDK looks up by name (sdk/CorvaneModule.h): the frame's link
// object, and opening and closing the link the user set. corvane_module_host() keeps them linked.
#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/CModuleLinkTarget.h"
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

// Over Ethernet the module's own device (from the last search), else as CorvaneFrameOpenLink.
extern "C" __attribute__((visibility("default"))) int CorvaneFrameOpenModuleLink(const char* moduleName, int* linkType) {
  corvane::CFrameServices* services = FrameServices();
  if (!services) return -1;
  corvane::CommConf& conf = services->Conf();
  if (linkType) *linkType = conf.CommType;
  if (conf.CommType != 1 || !moduleName) return services->Link().OpenLink();
  const std::string name(moduleName, ::strnlen(moduleName, 256));
  const std::string code = corvane::CCorvaneApp::Instance()->FindModuleCode(name);
  const std::uint32_t address = corvane::ModuleDeviceAddress(code, services->Search().Replies(),
                                                              static_cast<std::uint32_t>(conf.IPAddress));
  if (address == 0) {
    services->LogLine(name + ": no device address known; search the link or set the device's address");
    return -1;
  }
  CPortLink& link = services->PortLink();
  link.SetModbusMode(conf.ModbusMode + 1);
  const int conn = link.GetSocketConnNum();
  if (conn < 0 || link.OpenSocket(conn, 1, static_cast<int>(htonl(address)), 502, 0) < 0) {
    char text[96];
    std::snprintf(text, sizeof text, ": Modbus TCP connection to %u.%u.%u.%u port 502 was refused or timed out",
                  address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF, address & 0xFF);
    services->LogLine(name + text);
    return -1;
  }
  return conn;
}

extern "C" __attribute__((visibility("default"))) void CorvaneFrameCloseLink(int handle) {
  corvane::CFrameServices* services = FrameServices();
  if (services && handle >= 0) services->Link().CloseLink(handle);
}
