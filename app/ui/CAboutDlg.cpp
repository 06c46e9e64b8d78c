#include "app/ui/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "framework/ui/CResourceIcons.h"
#include "widgets/ui/CHyperLink.h"

namespace corvane {

CAboutDlg::CAboutDlg(const std::string& version, const std::string& copyright, QWidget* parent)
    : QDialog(parent) {
  setObjectName("100");
  setWindowTitle(tr("About Corvane"));

  auto* icon = new QLabel(this);
  icon->setPixmap(LoadIcon(300).pixmap(32, 32));

  m_pVersion = new QLabel(QString::fromStdString(version), this);
  m_pVersion->setObjectName("11250");
  m_pCopyright = new QLabel(QString::fromStdString(copyright), this);
  m_pCopyright->setObjectName("11251");
  m_pLink = new CHyperLink(QString::fromLatin1(kMakerSite), this);
  m_pLink->setObjectName("11252");
  m_pLink->Attach();
  m_pLink->SetUrl(kMakerSite);
  m_pLink->SetUnderline(false);

  auto* texts = new QVBoxLayout;
  texts->addWidget(m_pVersion);
  texts->addWidget(m_pCopyright);
  texts->addWidget(m_pLink, 0, Qt::AlignLeft);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

}  // namespace corvane
