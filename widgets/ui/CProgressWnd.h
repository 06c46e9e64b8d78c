#pragma once
// A small top-most window with a caption percentage, a few lines of text and a progress bar,
// shown while a long command runs on the GUI thread. Remembers its place in the profile.
#include <string>

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "platform/CProfileStore.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace corvane {

class CProgressWnd : public QWidget {
  Q_OBJECT
public:
  // parent null means the main window.
  CProgressWnd(QWidget* parent, const std::string& title, bool bSmooth = false);
  ~CProgressWnd() override;

  bool Create(QWidget* parent, const std::string& title, bool bSmooth = false);
  bool BeginModal(const std::string& title = "Progress", bool bSmooth = false);
  void SetRange(int nLower, int nUpper, int nStep = 1);
  int SetPos(int nPos);
  void SetText(const std::string& text);
  // Saves the place, re-enables the owner that BeginModal disabled, closes the window.
  void DestroyWindow();

  // Rounded share of the range; 0 for an empty or reversed range.
  static int Percent(int nPos, int nLower, int nUpper);
  // Whether a stored place lies on a screen of that size (else the window is centred).
  static bool IsOnScreen(int x, int y, int screenWidth, int screenHeight);
  static std::string Caption(const std::string& title, int percent);

  bool IsCancelled() const { return m_bCancelled; }
  bool IsModal() const { return m_bModal; }
  QWidget* DisabledOwner() const { return m_pDisabledOwner; }
  int LastPercent() const { return m_nPrevPercent; }
  void SetProfileStore(platform::CProfileStore* pStore) { m_pProfile = pStore ? pStore : &m_ownProfile; }
  void SetPersistent(bool b) { m_bPersistent = b; }
  void RestorePosition();
  void SavePosition();

protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void SetCaption(const QString& caption);
  void OnCancel();
  void LayOut(int nLines, int nWidth);
  void Paint();

  QPointer<QWidget> m_pDisabledOwner;
  int m_nNumTextLines = 4;
  int m_nPos = 0;
  int m_nPrevPercent = 0;
  int m_nStep = 1;
  int m_nMinValue = 0;
  int m_nMaxValue = 100;
  std::string m_strTitle = "Progress";
  std::string m_strCancelLabel = " Cancel ";
  bool m_bCancelled = false;
  bool m_bModal = false;
  bool m_bPersistent = true;
  bool m_bCreated = false;
  QLabel* m_pCaption = nullptr;
  QLabel* m_pText = nullptr;
  QPoint m_dragOffset;
  bool m_bDragging = false;
  QProgressBar* m_pBar = nullptr;
  QPushButton* m_pCancel = nullptr;
  platform::CProfileStore m_ownProfile;
  platform::CProfileStore* m_pProfile = &m_ownProfile;
};

}  // namespace corvane
