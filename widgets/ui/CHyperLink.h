#pragma once
// A label that works as a link: link, visited and hover colours, a hand cursor, the target as
// tooltip, an optional underline, shrunk to its text, and a click that opens the target.
#include <optional>
#include <string>

#include <QColor>
#include <QCursor>
#include <QLabel>

namespace corvane {

class CHyperLink : public QLabel {
  Q_OBJECT
public:
  explicit CHyperLink(QWidget* parent = nullptr);
  CHyperLink(const QString& text, QWidget* parent);

  // Makes the label a link (done at the first show when not called): an empty target is
  // taken from the text, an empty text from the target.
  void Attach();
  bool IsAttached() const { return m_bAttached; }

  void SetUrl(const std::string& url);
  const std::string& GetUrl() const { return m_strUrl; }
  // An invalid hover colour means the palette's highlight colour.
  void SetColours(const QColor& link, const QColor& visited, const QColor& hover = QColor());
  void SetVisited(bool visited = true);
  bool GetVisited() const { return m_bVisited; }
  void SetUnderline(bool underline = true);
  bool GetUnderline() const { return m_bUnderline; }
  void SetAutoSize(bool autoSize = true);
  // Nothing: the default hand cursor.
  void SetLinkCursor(std::optional<QCursor> cursor);

  QColor TextColour() const;
  bool IsHovering() const { return m_bOverControl; }

  // The shell's result code; above 32 is success.
  static int OpenUrl(const std::string& url);
  static void ReportOpenError(int code);

  // What a click does: open, then visited or the error message.
  void OnClicked();

signals:
  void clicked();

protected:
  void showEvent(QShowEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  void ApplyColour();
  void PositionWindow();

  std::string m_strUrl;
  QColor m_crLinkColour{0, 0, 238};
  QColor m_crVisitedColour{85, 26, 139};
  QColor m_crHoverColour;  // invalid: the highlight colour
  bool m_bOverControl = false;
  bool m_bVisited = false;
  bool m_bUnderline = true;
  bool m_bAdjustToFit = true;
  bool m_bAttached = false;
  std::optional<QCursor> m_linkCursor;
};

}  // namespace corvane
