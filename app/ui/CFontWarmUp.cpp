#include "app/ui/CFontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QStringList>

namespace corvane {

CFontWarmUp::CFontWarmUp()
    : m_thread([ready = m_ready.get_future()]() mutable {
        FcInit();
        if (ready.get()) QFontDatabase::families();
      }) {}

CFontWarmUp::~CFontWarmUp() { Join(); }

void CFontWarmUp::Release(bool withQt) {
  if (m_bReleased) return;
  m_bReleased = true;
  m_ready.set_value(withQt);
}

void CFontWarmUp::Join() {
  Release(false);
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace corvane
