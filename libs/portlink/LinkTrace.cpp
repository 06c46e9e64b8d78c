#include "libs/portlink/LinkTrace.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "libs/portlink/ModbusFrame.h"

namespace corvane::trace {
namespace {

struct Listeners {
  std::mutex mutex;
  std::vector<ILinkTraceListener*> list;
  std::atomic<bool> active{false};
};

Listeners& All() {
  static Listeners listeners;
  return listeners;
}

}  // namespace

void LinkTrace::AddListener(ILinkTraceListener* listener) {
  if (!listener) return;
  Listeners& l = All();
  std::lock_guard lock(l.mutex);
  l.list.push_back(listener);
  l.active.store(true, std::memory_order_release);
}

void LinkTrace::RemoveListener(ILinkTraceListener* listener) {
  Listeners& l = All();
  std::lock_guard lock(l.mutex);
  l.list.erase(std::remove(l.list.begin(), l.list.end(), listener), l.list.end());
  l.active.store(!l.list.empty(), std::memory_order_release);
}

bool LinkTrace::Active() noexcept { return All().active.load(std::memory_order_acquire); }

void LinkTrace::Emit(const TraceEvent& event) {
  Listeners& l = All();
  std::lock_guard lock(l.mutex);
  for (ILinkTraceListener* listener : l.list) listener->OnTrace(event);
}

const char* LinkTrace::FailureText(int failure) { return failure == 0 ? "" : modbus::ResultText(failure); }

const char* LinkTrace::FramingName(Framing framing) {
  switch (framing) {
    case Framing::Rtu: return "RTU";
    case Framing::Ascii: return "ASCII";
    case Framing::Tcp: return "TCP";
    case Framing::Raw: return "raw";
    case Framing::Porthub: return "PORTHUB";
  }
  return "";
}

}  // namespace corvane::trace
