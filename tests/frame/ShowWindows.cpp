// Runs the real program's frame and shows one of its windows the way a user meets it, for
// screenshots under a window manager:
//   frame_show progress|configure|failedport [seconds]
// progress: the search's progress window; configure: a module opened through the device tree's
// Configure dialog (right click, Configure, tick, OK, as a user does); failedport: a search on a
// port with no device behind it, which shows "Cannot open the specified communication!".
// The settings live under PROGRAMDATA and XDG_CONFIG_HOME, which the caller points somewhere.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "comm/CommConf.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/CommandIds.h"

namespace {

using namespace corvane;

// Waits for a window of type T to come up, then acts on it (a user's hand, on a timer).
template <class T, class Act>
void WhenShown(Act act) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
        timer->stop();
        timer->deleteLater();
        act(t);
        return;
      }
    }
  });
  timer->start(300);
}

void RightClickFirstModuleNode(CMainFrame& frame) {
  QTreeWidget* tree = frame.DeviceTree()->Tree();
  QTreeWidgetItem* node = frame.DeviceTree()->EthernetItem()->child(0);
  if (!node) node = frame.DeviceTree()->EthernetItem();
  const QRect r = tree->visualItemRect(node);
  const QPoint label(r.left() + tree->iconSize().width() + 8, r.center().y());
  WhenShown<QMenu>([](QMenu* menu) {
    menu->setActiveAction(menu->actions().value(0));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  WhenShown<QDialog>([](QDialog* dlg) {
    auto* options = dlg->findChild<QTreeWidget*>("11300");
    const auto found = options ? options->findItems("SMX-4041", Qt::MatchExactly | Qt::MatchRecursive)
                               : QList<QTreeWidgetItem*>();
    if (!found.isEmpty()) found.front()->setCheckState(0, Qt::Checked);
    QTimer::singleShot(800, dlg, [dlg] { dlg->accept(); });
  });
  QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, label);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 8;
  if (what != "progress" && what != "configure" && what != "failedport") {
    std::fprintf(stderr, "usage: frame_show progress|configure|failedport [seconds]\n");
    return 2;
  }
  std::string program = CORVANE_BIN_DIR "/corvane";
  std::vector<char*> args{program.data()};
  int count = 1;
  CCorvaneApp app(count, args.data());
  app.SetSplashEnabled(false);
  app.SetSingleInstanceEnabled(false);
  if (!app.InitInstance()) return 1;
  CMainFrame& frame = *app.GetMainFrame();
  frame.resize(1000, 680);
  frame.show();
  QTest::qWait(1000);

  // Each message box waits for its OK: a user's hand presses it after a while (the given time
  // for the failed-port message, a second for any other, such as a module's own failed read).
  auto* hand = new QTimer(&app);
  QObject::connect(hand, &QTimer::timeout, [seconds, what] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && !box->property("pressed").isValid()) {
        box->setProperty("pressed", true);
        QTimer::singleShot(what == "failedport" ? seconds * 1000 : 1000, box, [box] { box->accept(); });
      }
  });
  hand->start(300);

  if (what == "progress") {
    app.OpenModule("0015");
    frame.Services()->BeginScanProgress();
    QTest::qWait(seconds * 1000);
    frame.Services()->EndScanProgress();
  } else if (what == "configure") {
    app.OpenModule("0015");
    app.OpenModule("0203");
    QTest::qWait(500);
    RightClickFirstModuleNode(frame);
    QTest::qWait(seconds * 1000);
  } else {
    CommConf& conf = frame.Services()->Conf();
    conf.CommType = 0;
    conf.ComPortNum = 6;
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    QTest::qWait(500);
  }
  delete app.GetMainFrame();
  return app.ExitInstance(0);
}
