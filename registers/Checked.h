#pragma once
// A value or the reason there is none, in words for the user.
#include <optional>
#include <string>
#include <utility>

namespace corvane {

template <class T>
class Checked {
public:
  Checked(T value) : m_value(std::move(value)) {}  // NOLINT: a value converts implicitly
  static Checked Fail(std::string error) {
    Checked c;
    c.m_error = std::move(error);
    return c;
  }

  bool Ok() const noexcept { return m_value.has_value(); }
  explicit operator bool() const noexcept { return Ok(); }
  const T& Value() const { return *m_value; }
  T& Value() { return *m_value; }
  const T& operator*() const { return *m_value; }
  const T* operator->() const { return &*m_value; }
  const std::string& Error() const noexcept { return m_error; }

private:
  Checked() = default;
  std::optional<T> m_value;
  std::string m_error;
};

}  // namespace corvane
