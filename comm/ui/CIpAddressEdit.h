#pragma once
// An IPv4 address field of four boxes (0 to 255) separated by dots, like the platform's
// address control: an empty box counts as 0, so a blank field reads "0.0.0.0".
#include <array>
#include <cstdint>

#include <QWidget>

class QLineEdit;

namespace corvane::comm {

class CIpAddressEdit : public QWidget {
  Q_OBJECT
public:
  explicit CIpAddressEdit(QWidget* parent = nullptr);

  // First octet in the most significant byte.
  std::uint32_t Address() const;
  void SetAddress(std::uint32_t address);
  QString Text() const;             // "a.b.c.d"
  void SetText(const QString& text);  // dotted text; missing or bad parts become empty boxes
  bool IsBlank() const;
  void Clear();

  QLineEdit* Part(int index) const { return m_aParts.at(static_cast<std::size_t>(index)); }

signals:
  // Any box changed, by the user or by a setter.
  void addressChanged();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void OnPartEdited(int index);
  int PartValue(int index) const;

  std::array<QLineEdit*, 4> m_aParts{};
};

}  // namespace corvane::comm
