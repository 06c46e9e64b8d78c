#include <cstdio>

#include "app/CStartRequest.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFontWarmUp.h"

int main(int argc, char** argv) {
  // --help and --version need no display and no running copy.
  const corvane::StartRequest request = corvane::CStartRequest::Classify({argv, argv + argc});
  if (request.kind == corvane::StartRequest::Kind::Print) {
    std::fputs(request.text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  corvane::CFontWarmUp fonts;
  corvane::CCorvaneApp app(argc, argv);
  fonts.ApplicationReady();
  const bool started = app.InitInstance();
  fonts.Join();
  if (!started) return app.ExitInstance(0);
  app.CloseOnTerminationSignals();
  return app.ExitInstance(app.exec());
}
