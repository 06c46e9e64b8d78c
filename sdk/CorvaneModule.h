#pragma once
// What a plug-in module library exports to the host, and how it reaches the host's link.
// The framework classes a module uses are those of the program that loads it (see README.md).
#include <dlfcn.h>

#include "comm/CLink.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "libs/portlink/CPortLink.h"

#define CORVANE_MODULE_SDK_VERSION 1

// Emits both exports. The factory expression yields a new'd corvane::CMyMultiDocTemplate* or null;
// the host owns the template and deletes it before unloading the library.
#define CORVANE_DECLARE_MODULE(factoryExpression)                                        \
  extern "C" __attribute__((visibility("default"))) void* DLLDocTemplate() {             \
    return static_cast<corvane::CMyMultiDocTemplate*>(factoryExpression);                \
  }                                                                                      \
  extern "C" __attribute__((visibility("default"))) int CorvaneModuleSdkVersion() {      \
    return CORVANE_MODULE_SDK_VERSION;                                                   \
  }

namespace corvane {

namespace sdk_detail {
template <typename Fn>
Fn HostFunction(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}
}  // namespace sdk_detail

// The main frame's link object (its serialize area carries project data); null without a host.
inline CPortLink* CorvaneFrameLink() {
  auto fn = sdk_detail::HostFunction<CPortLink* (*)()>("CorvaneFrameLink");
  return fn ? fn() : nullptr;
}

// Opens the link the user set (serial port or Modbus TCP connection) with its station and
// framing already pushed into CorvaneFrameLink(). Returns the handle for Request/Response and
// puts the link type for them into *linkType; -1 when nothing opened (the frame has said why).
inline int CorvaneFrameOpenLink(int* linkType) {
  auto fn = sdk_detail::HostFunction<int (*)(int*)>("CorvaneFrameOpenLink");
  return fn ? fn(linkType) : -1;
}

// As CorvaneFrameOpenLink, but over Ethernet to the device of this module (moduleName is the
// catalogue's module name): the one the last search heard with the module's code, else the frame's
// target address. Use it rather than CorvaneFrameOpenLink: after a broadcast search the frame's
// target is 255.255.255.255.
inline int CorvaneFrameOpenModuleLink(const char* moduleName, int* linkType) {
  auto fn = sdk_detail::HostFunction<int (*)(const char*, int*)>("CorvaneFrameOpenModuleLink");
  return fn ? fn(moduleName, linkType) : CorvaneFrameOpenLink(linkType);
}

// Closes a handle of CorvaneFrameOpenLink or CorvaneFrameOpenModuleLink as what it was opened as.
inline void CorvaneFrameCloseLink(int handle) {
  if (auto fn = sdk_detail::HostFunction<void (*)(int)>("CorvaneFrameCloseLink")) fn(handle);
}

// The link CorvaneFrameOpenModuleLink would open, as an owning value: Request/Response on it
// directly, and it closes when it goes out of scope (or on Close()). Empty (false) when nothing
// opened; the frame has said why.
inline CLink CorvaneFrameModuleLink(const char* moduleName) {
  CLink link;
  if (auto fn = sdk_detail::HostFunction<bool (*)(const char*, CLink*)>("CorvaneFrameTakeModuleLink")) fn(moduleName, &link);
  return link;
}

}  // namespace corvane
