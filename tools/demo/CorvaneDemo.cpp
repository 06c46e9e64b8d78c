// The demo without a display: the real application and frame, offscreen, search the serial
// link (the simulator on COM5), then IP-search a loopback device; the device tree and the
// output log go to the terminal and a picture of the window to the file given.
//   corvane-demo [--ip A.B.C.D] [--screenshot FILE]
#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QPixmap>
#include <QTreeWidget>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CProjectCommands.h"
#include "comm/CommConf.h"
#include "comm/LinkType.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/CommandIds.h"
#include "framework/ui/CMyDocManager.h"
#include "platform/IPrompts.h"
#include "tools/demo/COffscreenNotices.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"

namespace {

using namespace corvane;

// Every message box is printed and answered No (or OK): the demo saves nothing.
class PrintingPrompts : public IPrompts {
public:
  int MessageBox(const std::string& text, const std::string&, PromptButtons buttons, PromptIcon) override {
    std::printf("  [message] %s\n", text.c_str());
    return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel ? IDNO : IDOK;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
};

void PrintItem(const QTreeWidgetItem* item, int depth) {
  std::printf("  %*s%s\n", depth * 2, "", item->text(0).toStdString().c_str());
  for (int i = 0; i < item->childCount(); ++i) PrintItem(item->child(i), depth + 1);
}

// The whole log: a search that closes open modules starts it afresh.
void PrintFrame(CMainFrame& frame) {
  std::printf("Device tree:\n");
  if (auto* tree = frame.DeviceTree()->findChild<QTreeWidget*>())
    for (int i = 0; i < tree->topLevelItemCount(); ++i) PrintItem(tree->topLevelItem(i), 0);
  std::printf("Output log:\n");
  const COutputLogModel* log = frame.Output()->Model();
  for (std::size_t i = 0; i < log->LineCount(); ++i) std::printf("  %s\n", log->LineText(i).c_str());
}

void PrintDocuments(CCorvaneApp& app) {
  std::printf("Open modules:");
  for (const std::string& name : app.m_aOpenModuleFiles) std::printf(" %s", name.c_str());
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string ip = "127.0.0.1";
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ip") == 0 && i + 1 < argc) {
      ip = argv[++i];
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: corvane-demo [--ip A.B.C.D] [--screenshot FILE]\n");
      return 2;
    }
  }
  in_addr target{};
  if (::inet_pton(AF_INET, ip.c_str(), &target) != 1) {
    std::fprintf(stderr, "corvane-demo: %s is not an IPv4 address\n", ip.c_str());
    return 2;
  }

  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // lines reach a pipe as they are written
  demo::COffscreenNotices::Install();
  PrintingPrompts prompts;
  SetPrompts(&prompts);
  // The program's own path, so that its folder (modules, Config/) is the one beside this tool.
  std::string self = argv[0];
  std::string program = self.substr(0, self.rfind('/') + 1) + "corvane";
  std::vector<char*> args{program.data()};
  int count = 1;
  CCorvaneApp app(count, args.data());
  app.SetSplashEnabled(false);
  app.SetSingleInstanceEnabled(false);
  if (!app.InitInstance()) {
    std::fprintf(stderr, "corvane-demo: the program did not start\n");
    return 1;
  }
  CMainFrame& frame = *app.GetMainFrame();
  frame.resize(1200, 760);

  std::printf("== Search (serial link, COM%d)\n", frame.Services()->Conf().ComPortNum);
  frame.OnCommand(cmd::ID_SEARCH_MODULE);
  PrintDocuments(app);
  PrintFrame(frame);

  // IP Search needs the Ethernet link and no open module, as a user would set it.
  std::printf("== IP Search (Ethernet, %s)\n", ip.c_str());
  if (frame.Project()) frame.Project()->NewProject();
  CommConf& conf = frame.Services()->Conf();
  conf.CommType = LinkTypeNumber(LinkType::Ethernet);
  conf.IPAddress = static_cast<std::int32_t>(ntohl(target.s_addr));
  SaveCommConf(app.m_iniSettings, conf);
  frame.Services()->Link().PushSettings(false);
  frame.Services()->RefreshLinkStatus();
  frame.OnCommand(cmd::ID_IP_SEARCH);
  PrintDocuments(app);
  PrintFrame(frame);

  int status = 0;
  if (!screenshot.empty()) {
    app.processEvents();
    if (frame.grab().save(QString::fromStdString(screenshot))) {
      std::printf("Screenshot: %s\n", screenshot.c_str());
    } else {
      std::fprintf(stderr, "corvane-demo: cannot write %s\n", screenshot.c_str());
      status = 1;
    }
  }
  // Leave the settings as the serial demo expects them.
  conf.CommType = LinkTypeNumber(LinkType::Serial);
  SaveCommConf(app.m_iniSettings, conf);
  delete app.GetMainFrame();
  app.ExitInstance(0);
  SetPrompts(nullptr);
  return status;
}
