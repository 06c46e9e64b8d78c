#pragma once
// Dialog 653 "Communication Setting": edits the frame's link record. It fills itself from the
// record, the adapter lists, the serial-port map and the manager's driver catalogue when it is
// built, and writes the record only at OK (the IP list it opens writes IPAddress on its own OK).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "comm/CPORTHUB.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {
struct CommConf;
}

namespace corvane::comm {

class CIpAddressEdit;

class CCommSetDlg : public QDialog {
  Q_OBJECT
public:
  enum Type { kSerial = 0, kEthernet = 1, kPorthub = 2 };
  // Catalogues hold whatever the manager wrote; the list shows no more drivers than this.
  static constexpr int kMaxDrivers = 1024;

  // record, adapterNames and adapterIPs are the frame's; enumAdapters refills the two lists.
  // With linkPreset the IP field opens on remoteIp() (the address BusLink holds).
  CCommSetDlg(CommConf& record, std::vector<std::string>& adapterNames, std::vector<std::string>& adapterIPs,
              bool linkPreset, std::function<std::uint32_t()> remoteIp, std::function<void()> enumAdapters,
              QWidget* parent = nullptr);

  const CPORTHUB& Catalogue() const { return m_catalogue; }

public slots:
  // Stores and closes. With no network adapter listed an Ethernet link is refused with a
  // message; any other link is stored.
  void accept() override;

private:
  void Build();
  void Open();
  void ApplyTypeRules(int type);
  void OnTransferMode(int mode);
  void OnDriver();
  void OnInterface();
  void OnDefault();
  void OnIpList();
  void DescribePorts();
  void OnPortMenu(const QPoint& at);

  CommConf& m_record;
  std::vector<std::string>& m_aAdapterNames;
  std::vector<std::string>& m_aAdapterIPs;
  bool m_bLinkPreset;
  std::function<std::uint32_t()> m_remoteIp;
  std::function<void()> m_enumAdapters;
  CPORTHUB m_catalogue;

  QComboBox* m_pType = nullptr;
  QComboBox* m_pInterface = nullptr;
  QLabel* m_pInterfaceIp = nullptr;
  QLabel* m_pDriverLabel = nullptr;
  QComboBox* m_pDriver = nullptr;
  CIpAddressEdit* m_pIp = nullptr;
  QPushButton* m_pIpList = nullptr;
  QLineEdit* m_pPort = nullptr;
  QComboBox* m_pCom = nullptr;
  QComboBox* m_pBaud = nullptr;
  QComboBox* m_pDataLen = nullptr;
  QComboBox* m_pParity = nullptr;
  QComboBox* m_pStop = nullptr;
  QComboBox* m_pStation = nullptr;
  QComboBox* m_pMode = nullptr;
  QPushButton* m_pDefault = nullptr;
};

}  // namespace corvane::comm
