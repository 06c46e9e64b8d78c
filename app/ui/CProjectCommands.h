#pragma once
// New, Open, Save and the loading of a project handed to the program: the frame's side of
// the project file, over the codec of project/.
#include <string>

#include "platform/IPrompts.h"

class CPortLink;

namespace corvane {

class CCorvaneApp;
class CMainFrame;

class CProjectCommands {
public:
  CProjectCommands(CCorvaneApp& app, CMainFrame& frame, CPortLink& link)
      : m_app(app), m_frame(frame), m_link(link) {}

  // The file dialog of projects: "Corvane Project File (*.cvn)", extension ".cvn".
  static FileDialogRequest ProjectFileDialog(bool forSave);

  int CountOpenDocuments() const;
  void NewProject();
  void OnProjectOpen();
  void OpenProjectWithDialog();
  void PromptAndOpenProjectFile(const std::string& path);
  void OpenProjectFile(const std::string& path);
  void SaveProject();

private:
  // Asks whether to save the open documents; false when the user cancels.
  bool OfferSaveAndClose();
  void CloseAndReset();

  CCorvaneApp& m_app;
  CMainFrame& m_frame;
  CPortLink& m_link;
};

}  // namespace corvane
