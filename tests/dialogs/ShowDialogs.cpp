// Shows one of the dialogs filled with sample data, for screenshots:
//   dialogs_show commset|iplist|line [type] [manager folder holding DriverInfo.dri, ending in /]
// With CORVANE_GRAB=file.png set it saves the dialog's picture there and ends; with
// CORVANE_QM=satellite.qm set it shows the dialog in that satellite's language.
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include "comm/CommConf.h"
#include "comm/ui/CCommSetDlg.h"
#include "comm/ui/CIPListDlg.h"
#include "comm/ui/CSerialLineDlg.h"
#include "platform/CRegStore.h"

namespace {
int Run(QApplication& app, QWidget& shown) {
  shown.show();
  if (const char* grab = std::getenv("CORVANE_GRAB")) {
    QTimer::singleShot(500, &app, [&app, &shown, grab] {
      const bool saved = shown.grab().save(QString::fromLocal8Bit(grab));
      app.exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTranslator satellite;
  if (const char* qm = std::getenv("CORVANE_QM"); qm && satellite.load(QString::fromLocal8Bit(qm)))
    QApplication::installTranslator(&satellite);
  const bool iplist = argc > 1 && std::strcmp(argv[1], "iplist") == 0;
  if (argc > 1 && std::strcmp(argv[1], "line") == 0) {
    corvane::comm::CSerialLineDlg line(17);
    return Run(app, line);
  }
  corvane::platform::CRegStore::SetSerialCommProvider([] {
    return corvane::platform::RegStringPairs{{"\\Device\\ttyS0", "COM1"}, {"\\Device\\ttyUSB0", "COM10"},
                                             {"\\Device\\ttyS1", "COM2"}};
  });
  // Which device each is: explicit entries of the port map (a USB adapter by its by-id name).
  corvane::platform::CRegStore store;
  const char* ports = "SOFTWARE\\Zelmar\\Corvane\\Ports";
  store.SetString(corvane::platform::RegRoot::LocalMachine, ports, "COM1", "/dev/ttyS0");
  store.SetString(corvane::platform::RegRoot::LocalMachine, ports, "COM10",
                  "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  if (argc > 3)
    corvane::platform::CRegStore().SetString(corvane::platform::RegRoot::LocalMachine,
                                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\PORTHUB.exe",
                                             "Path", argv[3]);
  corvane::CommConf record;
  record.PorthubDrv = 3;
  record.CommType = argc > 2 ? std::atoi(argv[2]) : 0;
  record.ComPortNum = 10;
  record.IPAddress = static_cast<std::int32_t>(0xC0A80105u);
  std::vector<std::string> names, ips;
  auto fill = [&] {
    names = {"eth0 (e1000e)", "wlan0 (iwlwifi)"};
    ips = {"192.168.1.10", "10.1.2.3"};
  };
  corvane::comm::CCommSetDlg commset(record, names, ips, false, [] { return 0u; }, fill);
  if (iplist) {
    corvane::comm::CIPListDlg list(record, nullptr, &commset);
    return Run(app, list);
  }
  return Run(app, commset);
}
