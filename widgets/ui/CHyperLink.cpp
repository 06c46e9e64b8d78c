#include "widgets/ui/CHyperLink.h"

#include <QApplication>
#include <QMouseEvent>

#include "platform/IPrompts.h"
#include "widgets/CUrlOpener.h"

namespace corvane {

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {}

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void CHyperLink::Attach() {
  if (m_bAttached) return;
  m_bAttached = true;
  if (m_strUrl.empty()) m_strUrl = text().toStdString();
  if (text().isEmpty()) setText(QString::fromStdString(m_strUrl));
  setTextFormat(Qt::PlainText);  // a target is never markup
  QFont f = font();
  f.setUnderline(m_bUnderline);
  setFont(f);
  PositionWindow();
  SetLinkCursor(m_linkCursor);
  setToolTip(QString::fromStdString(m_strUrl));
  ApplyColour();
}

void CHyperLink::showEvent(QShowEvent* event) {
  Attach();
  QLabel::showEvent(event);
}

void CHyperLink::SetUrl(const std::string& url) {
  m_strUrl = url;
  if (!m_bAttached) return;
  PositionWindow();
  setToolTip(QString::fromStdString(m_strUrl));
}

void CHyperLink::SetColours(const QColor& link, const QColor& visited, const QColor& hover) {
  m_crLinkColour = link;
  m_crVisitedColour = visited;
  m_crHoverColour = hover;
  ApplyColour();
}

void CHyperLink::SetVisited(bool visited) {
  m_bVisited = visited;
  ApplyColour();
}

void CHyperLink::SetUnderline(bool underline) {
  m_bUnderline = underline;
  QFont f = font();
  f.setUnderline(underline);
  setFont(f);
  update();
}

void CHyperLink::SetAutoSize(bool autoSize) {
  m_bAdjustToFit = autoSize;
  PositionWindow();
}

void CHyperLink::SetLinkCursor(std::optional<QCursor> cursor) {
  m_linkCursor = std::move(cursor);
  setCursor(m_linkCursor ? *m_linkCursor : QCursor(Qt::PointingHandCursor));
}

QColor CHyperLink::TextColour() const {
  if (m_bOverControl) return m_crHoverColour.isValid() ? m_crHoverColour : palette().color(QPalette::Highlight);
  return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

void CHyperLink::ApplyColour() {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, TextColour());
  setPalette(p);
  setAutoFillBackground(false);  // transparent over the dialog
  update();
}

// Shrinks the label to its text, keeping it where its alignment puts the text, so that only
// the text itself is the link.
void CHyperLink::PositionWindow() {
  if (!m_bAttached || !m_bAdjustToFit) return;
  const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
  const QSize size(textSize.width() + 2 * margin() + 2 * frameWidth(),
                   textSize.height() + 2 * margin() + 2 * frameWidth());
  QRect r = geometry();
  const Qt::Alignment a = alignment();
  int x = r.left();
  if (a & Qt::AlignHCenter) x = r.left() + (r.width() - size.width()) / 2;
  else if (a & Qt::AlignRight) x = r.right() + 1 - size.width();
  const int y = (a & Qt::AlignVCenter) ? r.top() + (r.height() - size.height()) / 2 : r.top();
  setFixedSize(size);
  move(x, y);
}

void CHyperLink::enterEvent(QEnterEvent* event) {
  m_bOverControl = true;
  ApplyColour();
  QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
  m_bOverControl = false;
  ApplyColour();
  QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
    OnClicked();
  }
  QLabel::mouseReleaseEvent(event);
}

// The pointer is still on the link after a click: the hover colour stays until it leaves.
void CHyperLink::OnClicked() {
  // The opener's verdict takes a moment (at most kOpenerWaitMs).
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const int result = OpenUrl(m_strUrl);
  QApplication::restoreOverrideCursor();
  if (result > 32) {
    SetVisited(true);
  } else {
    m_bVisited = false;
    ApplyColour();
    QApplication::beep();
    ReportOpenError(result);
  }
}

int CHyperLink::OpenUrl(const std::string& url) { return CUrlOpener::OpenUrl(url); }

void CHyperLink::ReportOpenError(int code) {
  Prompts().MessageBox(CUrlOpener::ErrorMessage(code), "Corvane", PromptButtons::Ok, PromptIcon::Warning);
}

}  // namespace corvane
