#pragma once
// Dialog 100 "About Corvane": version (11250), copyright (11251), the maker's site (11252).
#include <string>

#include <QDialog>

class QLabel;

namespace corvane {
class CHyperLink;
}

namespace corvane {

class CAboutDlg : public QDialog {
  Q_OBJECT
public:
  CAboutDlg(const std::string& version, const std::string& copyright, QWidget* parent = nullptr);

  static constexpr const char* kMakerSite = "https://www.zelmar-automation.example/";

  QLabel* VersionLabel() const { return m_pVersion; }
  QLabel* CopyrightLabel() const { return m_pCopyright; }
  CHyperLink* LinkLabel() const { return m_pLink; }

private:
  QLabel* m_pVersion;
  QLabel* m_pCopyright;
  CHyperLink* m_pLink;
};

}  // namespace corvane
