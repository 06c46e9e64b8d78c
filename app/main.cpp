#include "app/ui/CCorvaneApp.h"

int main(int argc, char** argv) {
  corvane::CCorvaneApp app(argc, argv);
  if (!app.InitInstance()) return app.ExitInstance(0);
  app.CloseOnTerminationSignals();
  return app.ExitInstance(app.exec());
}
