#pragma once
// Dialog 654 "IP Setup": the user's saved device addresses (IPList.ini in the configuration
// folder) to pick or type the Ethernet target from. OK saves the list, sets IPAddress of the
// record and shows the address in the opener's field; Cancel leaves file and record alone.
#include <string>

#include <QDialog>

#include "comm/CIPList.h"

class QListWidget;
class QPushButton;

namespace corvane {
struct CommConf;
}

namespace corvane::comm {

class CIpAddressEdit;

class CIPListDlg : public QDialog {
  Q_OBJECT
public:
  // target: the opener's address field, may be null. folder: where IPList.ini lives.
  CIPListDlg(CommConf& record, CIpAddressEdit* target, QWidget* parent = nullptr);
  CIPListDlg(CommConf& record, CIpAddressEdit* target, std::string folder, QWidget* parent = nullptr);

  CIpAddressEdit* AddressField() const { return m_pAddress; }
  QListWidget* List() const { return m_pList; }
  int EntryCount() const { return m_nCount; }

public slots:
  void accept() override;

private:
  void Build();
  void LoadList();
  void OnAdd();
  void OnDelete();
  void OnSelectionChanged(int row);

  CommConf& m_record;
  CIpAddressEdit* m_pTarget;
  std::string m_strFolder;
  CIPList m_list;
  int m_nCount = 0;
  CIpAddressEdit* m_pAddress = nullptr;
  QListWidget* m_pList = nullptr;
  QPushButton* m_pAdd = nullptr;
  QPushButton* m_pDelete = nullptr;
  QPushButton* m_pBroadcast = nullptr;
};

}  // namespace corvane::comm
