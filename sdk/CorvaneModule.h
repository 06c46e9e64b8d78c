#pragma once
// What a plug-in module library exports to the host, and how it reaches the host's link.
#include <dlfcn.h>

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

// The main frame's link, looked up in the loading executable; null when there is no host.
inline CPortLink* CorvaneFrameLink() {
  using Fn = CPortLink* (*)();
  auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "CorvaneFrameLink"));
  return fn ? fn() : nullptr;
}

}  // namespace corvane
