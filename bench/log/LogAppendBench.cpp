// Appending 100,000 lines to the output log (model and attached table view), against
// appending the same texts to a plain std::vector<std::string>, in the same run.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QTableView>

#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"

namespace {

constexpr int kLines = 100000;

std::size_t HeapInUse() { return mallinfo2().uordblks; }

std::string Text(int i) { return "Module 0203 answered on COM3, line " + std::to_string(i); }

struct Result {
  double nsPerLine;
  double bytesPerLine;
};

Result Baseline() {
  const std::size_t before = HeapInUse();
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::string> lines;
  for (int i = 0; i < kLines; ++i) lines.push_back(Text(i));
  const auto took = std::chrono::steady_clock::now() - start;
  const std::size_t after = HeapInUse();
  const Result r{std::chrono::duration<double, std::nano>(took).count() / kLines,
                 static_cast<double>(after - before) / kLines};
  return r;
}

Result OutputLog() {
  corvane::COutputListWnd wnd;
  wnd.resize(800, 300);
  wnd.show();
  QApplication::processEvents();
  const std::size_t before = HeapInUse();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kLines; ++i) wnd.AddLine(Text(i));
  QApplication::processEvents();  // let the view catch up, as it would on screen
  const auto took = std::chrono::steady_clock::now() - start;
  const std::size_t after = HeapInUse();
  if (wnd.Model()->LineCount() != static_cast<std::size_t>(kLines)) std::printf("lines lost!\n");
  return {std::chrono::duration<double, std::nano>(took).count() / kLines,
          static_cast<double>(after - before) / kLines};
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const Result base = Baseline();
  const Result log = OutputLog();
  std::printf("%d lines\n", kLines);
  std::printf("baseline vector<string>: %8.1f ns/line %8.1f bytes/line\n", base.nsPerLine, base.bytesPerLine);
  std::printf("output log (model+view): %8.1f ns/line %8.1f bytes/line\n", log.nsPerLine, log.bytesPerLine);
  std::printf("ratio time %.2fx, memory %.2fx\n", log.nsPerLine / base.nsPerLine, log.bytesPerLine / base.bytesPerLine);
  return 0;
}
