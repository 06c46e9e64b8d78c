#include "libs/portlink/LineMarks.h"

namespace corvane {

std::size_t LineMarks::Decode(const std::uint8_t* raw, std::size_t n, std::uint8_t* out, std::uint8_t* bad) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t c = raw[i];
    switch (m_state) {
      case State::kData:
        if (c == 0xFF) {
          m_state = State::kMark;
        } else {
          bad[k] = 0;
          out[k++] = c;
        }
        break;
      case State::kMark:
        if (c == 0x00) {
          m_state = State::kMarkZero;
        } else {
          // FF FF is a data FF; anything else after FF cannot come from the terminal: keep both.
          bad[k] = 0;
          out[k++] = 0xFF;
          m_state = State::kData;
          if (c != 0xFF) {
            bad[k] = 0;
            out[k++] = c;
          }
        }
        break;
      case State::kMarkZero:
        bad[k] = 1;
        out[k++] = c;
        m_state = State::kData;
        break;
    }
  }
  return k;
}

}  // namespace corvane
