#include "widgets/ui/CProgressWnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "framework/ui/CMDIFrameWnd.h"

namespace corvane {
namespace {
constexpr int kMargin = 10;
constexpr int kBorder = 1;
constexpr int kCaptionPadding = 3;
}

// No window manager's title bar: several (openbox among them) put a close button on every title
// bar whatever the hints say. The window draws its own caption and border instead.
CProgressWnd::CProgressWnd(QWidget* parent, const std::string& title, bool bSmooth)
    : QWidget(parent ? parent : static_cast<QWidget*>(AfxGetMainFrame()),
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  m_strTitle = title;
  Create(parent, title, bSmooth);
}

CProgressWnd::~CProgressWnd() { DestroyWindow(); }

bool CProgressWnd::Create(QWidget*, const std::string& title, bool bSmooth) {
  if (m_bCreated) return true;
  m_strTitle = title;
  setWindowTitle(QString::fromStdString(title));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  setPalette(QApplication::palette());
  setCursor(Qt::BusyCursor);
  resize(390, 130);

  m_pCaption = new QLabel(QString::fromStdString(title), this);
  m_pCaption->setObjectName(QStringLiteral("ProgressCaption"));
  m_pCaption->setTextFormat(Qt::PlainText);
  m_pCaption->setAutoFillBackground(true);
  m_pCaption->setIndent(kCaptionPadding);
  QPalette captionColours = m_pCaption->palette();
  captionColours.setColor(QPalette::Window, captionColours.color(QPalette::Highlight));
  captionColours.setColor(QPalette::WindowText, captionColours.color(QPalette::HighlightedText));
  m_pCaption->setPalette(captionColours);
  QFont captionFont = m_pCaption->font();
  captionFont.setBold(true);
  m_pCaption->setFont(captionFont);
  m_pCaption->installEventFilter(this);

  m_pText = new QLabel(this);
  m_pText->setObjectName(QStringLiteral("ProgressText"));
  m_pText->setTextFormat(Qt::PlainText);
  m_pText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_pText->setWordWrap(false);
  m_pBar = new QProgressBar(this);
  m_pBar->setTextVisible(false);
  m_pBar->setRange(m_nMinValue, m_nMaxValue);
  (void)bSmooth;  // Qt draws one kind of bar
  m_pCancel = new QPushButton(QString::fromStdString(m_strCancelLabel), this);
  connect(m_pCancel, &QPushButton::clicked, this, [this] { OnCancel(); });
  // Searches cannot be cancelled through this window.
  m_pCancel->hide();

  LayOut(m_nNumTextLines, 350);
  if (m_bPersistent) {
    RestorePosition();
  } else if (QWidget* owner = parentWidget()) {
    move(owner->geometry().center() - rect().center());
  }
  m_bCreated = true;
  show();
  Paint();
  return true;
}

bool CProgressWnd::BeginModal(const std::string& title, bool bSmooth) {
  if (!m_bCreated && !Create(parentWidget(), title, bSmooth)) return false;
  QWidget* w = this;
  while (w->parentWidget() && w->parentWidget()->isEnabled()) w = w->parentWidget();
  m_pDisabledOwner = w;
  w->setEnabled(false);
  setEnabled(true);
  m_bModal = true;
  return true;
}

void CProgressWnd::SetRange(int nLower, int nUpper, int nStep) {
  if (!m_bCreated) return;
  m_pBar->setRange(nLower, nUpper);
  m_nMinValue = nLower;
  m_nMaxValue = nUpper;
  m_nStep = nStep;
  Paint();
}

int CProgressWnd::Percent(int nPos, int nLower, int nUpper) {
  if (nUpper <= nLower) return 0;
  const double share = (static_cast<double>(nPos) - nLower) * 100.0 / (static_cast<double>(nUpper) - nLower) + 0.5;
  return static_cast<int>(share);
}

std::string CProgressWnd::Caption(const std::string& title, int percent) {
  return title + " [" + std::to_string(percent) + "%]";
}

int CProgressWnd::SetPos(int nPos) {
  if (!m_bCreated) return m_nPos;
  show();
  m_nPos = nPos;
  const int percent = Percent(nPos, m_nMinValue, m_nMaxValue);
  if (percent != m_nPrevPercent) {
    m_nPrevPercent = percent;
    SetCaption(QString::fromStdString(Caption(m_strTitle, percent)));
  }
  const int previous = m_pBar->value() < m_pBar->minimum() ? m_nMinValue : m_pBar->value();
  m_pBar->setValue(nPos);
  Paint();
  return previous;
}

void CProgressWnd::SetText(const std::string& text) {
  if (!m_bCreated) return;
  m_pText->setText(QString::fromStdString(text));
  Paint();
}

void CProgressWnd::LayOut(int nLines, int nWidth) {
  const QFontMetrics fm(font());
  const int edgeW = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int edgeH = edgeW;
  QString probe = QStringLiteral("M");
  for (int i = 1; i < nLines; ++i) probe += QStringLiteral("\nM");
  const int textHeight = fm.boundingRect(QRect(0, 0, nWidth, 1000), Qt::AlignLeft, probe).height();
  const QRect textRect(kMargin, kMargin, nWidth, textHeight);

  const QString label = QString::fromStdString(m_strCancelLabel) + QStringLiteral("  ");
  const QSize button(fm.horizontalAdvance(label) + 4 * edgeW, fm.height() + 3 * edgeH);
  const QRect buttonRect(textRect.right() + 1 - button.width(), textRect.bottom() + 1 + kMargin, button.width(),
                         button.height());
  const QRect barRect(textRect.left(), buttonRect.top() + edgeH, buttonRect.left() - kMargin - textRect.left(),
                      button.height() - 2 * edgeH);

  // The caption and the border stand where a window manager's frame would.
  const int captionHeight = m_pCaption->fontMetrics().height() + 2 * kCaptionPadding;
  const QPoint client(kBorder, kBorder + captionHeight);
  const QSize clientSize(textRect.width() + 2 * kMargin, textRect.height() + button.height() + 3 * kMargin);
  m_pCaption->setGeometry(kBorder, kBorder, clientSize.width(), captionHeight);
  m_pText->setGeometry(textRect.translated(client));
  m_pCancel->setGeometry(buttonRect.translated(client));
  m_pBar->setGeometry(barRect.translated(client));
  setFixedSize(clientSize.width() + 2 * kBorder, clientSize.height() + captionHeight + 2 * kBorder);
}

void CProgressWnd::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  m_pCaption->setText(caption);
}

void CProgressWnd::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The caption moves the window as a title bar would; the place is kept in the profile.
bool CProgressWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_pCaption) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::LeftButton) return false;
    if (windowHandle() && windowHandle()->startSystemMove()) return true;
    m_dragOffset = press->globalPosition().toPoint() - pos();
    m_bDragging = true;
    return true;
  }
  if (event->type() == QEvent::MouseMove && m_bDragging) {
    move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragOffset);
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease) m_bDragging = false;
  return false;
}

bool CProgressWnd::IsOnScreen(int x, int y, int screenWidth, int screenHeight) {
  return x >= 0 && x < screenWidth && y >= 0 && y < screenHeight;
}

void CProgressWnd::RestorePosition() {
  const int x = m_pProfile->GetProfileInt("Settings", "X", -1);
  const int y = m_pProfile->GetProfileInt("Settings", "Y", -1);
  const QScreen* screen = QApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  if (IsOnScreen(x, y, area.width(), area.height()))
    move(x, y);
  else
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void CProgressWnd::SavePosition() {
  const QPoint at = frameGeometry().topLeft();
  m_pProfile->WriteProfileInt("Settings", "X", at.x());
  m_pProfile->WriteProfileInt("Settings", "Y", at.y());
}

void CProgressWnd::OnCancel() {
  if (m_bPersistent) SavePosition();
  m_bCancelled = true;
  hide();
  if (m_bModal) close();
  if (QWidget* main = AfxGetMainFrame()) main->activateWindow();
}

void CProgressWnd::DestroyWindow() {
  if (!m_bCreated) return;
  m_bCreated = false;
  if (m_bPersistent) SavePosition();
  if (m_bModal) {
    m_bModal = false;
    if (m_pDisabledOwner) m_pDisabledOwner->setEnabled(true);
    m_pDisabledOwner = nullptr;
  }
  hide();
}

void CProgressWnd::Paint() {
  // The caller's work blocks the event loop, so paint now and let the window system catch up
  // (exposure and geometry only): no input, socket or timer of the program runs mid-search.
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                  QEventLoop::X11ExcludeTimers);
}

}  // namespace corvane
