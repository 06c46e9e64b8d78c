#pragma once
// Runs the real application as the program does, without the splash window and the
// single-instance lock: start-up with exe and args, body(app), then the shutdown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"

namespace corvane::test {

template <typename Body>
void RunCorvaneApp(const std::string& exe, std::vector<std::string> args, Body body) {
  args.insert(args.begin(), exe);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(args.size());
  CCorvaneApp app(argc, argv.data());
  app.SetSplashEnabled(false);
  app.SetSingleInstanceEnabled(false);
  ASSERT_TRUE(app.InitInstance());
  body(app);
  delete app.GetMainFrame();
  app.ExitInstance(0);
}

}  // namespace corvane::test
