#pragma once
// "Serial Line Settings" of one COM port, opened from the COM Port list's context menu in the
// communication setting dialog: the device's response time (for every port, per user) and the
// port's RS-485 mode with its delays. OK stores them and hands them to the links at once.
#include <QDialog>

class QGroupBox;
class QSpinBox;

namespace corvane::comm {

class CSerialLineDlg : public QDialog {
  Q_OBJECT
public:
  explicit CSerialLineDlg(int comPort, QWidget* parent = nullptr);

public slots:
  // Stores and closes; when the settings cannot be stored, says so and stays open.
  void accept() override;

private:
  int m_comPort;
  QSpinBox* m_pResponse = nullptr;
  QGroupBox* m_pRs485 = nullptr;
  QSpinBox* m_pBefore = nullptr;
  QSpinBox* m_pAfter = nullptr;
};

}  // namespace corvane::comm
