#include "app/ui/CProjectCommands.h"

#include <array>
#include <cstring>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMyDocManager.h"
#include "libs/portlink/CPortLink.h"
#include "platform/IPrompts.h"
#include "project/CModuleCodeLookup.h"
#include "project/CProjectReader.h"
#include "project/CProjectWriter.h"
#include "project/IProjectVisitor.h"
#include "project/ProjectFormat.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"
#include "widgets/ui/COutputListWnd.h"

namespace corvane {
namespace {

constexpr const char* kFilter = CVN_STR("Project", "Corvane Project File (*.cvn)|*.cvn||");
constexpr const char* kDefaultExt = ".cvn";

void ShowError(const std::string& text) {
  Prompts().MessageBox(text, LoadString(57344), PromptButtons::Ok, PromptIcon::Error);
}

// Hands each validated record to the module: serialize area, open, then the load command.
class LoadVisitor final : public IProjectVisitor {
public:
  LoadVisitor(CCorvaneApp& app, CPortLink& link) : m_app(app), m_link(link) {}

  std::string ModuleNameFor(const std::string& code) override { return m_app.GetModuleName(code); }

  void OnRecord(const std::string& code, const std::string& name,
                std::span<const std::uint8_t> data) override {
    std::array<unsigned char, project::kMaxModuleData> buffer{};
    std::memcpy(buffer.data(), data.data(), data.size());
    m_link.SetSerializeData(buffer.data(), static_cast<int>(data.size()));
    m_app.OpenModule(code);
    for (CDocument* doc : m_app.GetDocManager()->DocumentWalk())
      if (doc->GetTitle() == name) doc->OnCmdMsg(cmd::ID_MODULE_DATA_LOAD, nullptr);
  }

private:
  CCorvaneApp& m_app;
  CPortLink& m_link;
};

}  // namespace

FileDialogRequest CProjectCommands::ProjectFileDialog(bool forSave) {
  return {TranslateText("Project", kFilter), kDefaultExt, forSave};
}

int CProjectCommands::CountOpenDocuments() const {
  return m_app.GetDocManager() ? static_cast<int>(m_app.GetDocManager()->GetOpenDocumentCount()) : 0;
}

void CProjectCommands::CloseAndReset() {
  m_app.GetDocManager()->CloseAllDocuments();
  if (m_frame.DeviceTree()) m_frame.DeviceTree()->ResetTree();
  if (m_frame.Output()) m_frame.Output()->Clear();
  m_frame.repaint();
}

void CProjectCommands::NewProject() {
  if (CountOpenDocuments() > 0) CloseAndReset();
  m_app.m_aOpenModuleFiles.RemoveAll();
  m_app.m_aOpenModuleCodes.RemoveAll();
}

bool CProjectCommands::OfferSaveAndClose() {
  if (CountOpenDocuments() == 0) return true;
  switch (Prompts().MessageBox(LoadString(514), LoadString(57344), PromptButtons::YesNoCancel,
                               PromptIcon::Question)) {
    case IDYES:
      SaveProject();
      CloseAndReset();
      return true;
    case IDNO:
      CloseAndReset();
      return true;
    default:
      return false;
  }
}

void CProjectCommands::OnProjectOpen() {
  if (OfferSaveAndClose()) OpenProjectWithDialog();
}

void CProjectCommands::OpenProjectWithDialog() {
  m_frame.setEnabled(false);
  const auto path = Prompts().OpenFileName(ProjectFileDialog(false));
  m_frame.setEnabled(true);
  if (path) OpenProjectFile(*path);
}

void CProjectCommands::PromptAndOpenProjectFile(const std::string& path) {
  if (OfferSaveAndClose()) OpenProjectFile(path);
}

void CProjectCommands::OpenProjectFile(const std::string& path) {
  m_app.m_aOpenModuleFiles.RemoveAll();
  m_app.m_aOpenModuleCodes.RemoveAll();
  LoadVisitor visitor(m_app, m_link);
  const CProjectResult result = CProjectReader::Load(path, visitor);
  if (result.Ok()) {
    m_app.AddToRecentFileList(path);
    return;
  }
  if (result.MessageId() != 0)
    ShowError(LoadString(static_cast<unsigned>(result.MessageId())));
  else
    ShowError(result.description);
}

void CProjectCommands::SaveProject() {
  const auto path = Prompts().SaveFileName(ProjectFileDialog(true));
  if (!path) return;
  CProjectWriter writer;
  const std::vector<std::string> files(m_app.m_aOpenModuleFiles.begin(), m_app.m_aOpenModuleFiles.end());
  const std::vector<std::string> codes(m_app.m_aOpenModuleCodes.begin(), m_app.m_aOpenModuleCodes.end());
  std::array<unsigned char, project::kMaxModuleData> buffer{};
  for (CDocument* doc : m_app.GetDocManager()->DocumentWalk()) {
    buffer.fill(0);
    // An empty area first: a module that does not answer 10902 must not save the data the
    // previous module left there under its own name.
    m_link.SetSerializeData(buffer.data(), 0);
    doc->OnCmdMsg(cmd::ID_MODULE_DATA_SAVE, nullptr);
    const std::string name = doc->GetTitle();
    const auto code = CModuleCodeLookup::Find(files, codes, CModuleCodeLookup::LibraryTitle(name));
    const int length = m_link.GetSerializeData(buffer.data());
    if (!code) continue;  // a document the catalogue cannot name is left out, and not counted
    const CProjectResult added = writer.AddRecord(
        *code, name, std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)));
    if (!added.Ok()) {
      ShowError(added.description);
      return;
    }
  }
  const CProjectResult saved = writer.Save(*path);
  if (!saved.Ok()) {
    ShowError(saved.description);
    return;
  }
  m_app.AddToRecentFileList(*path);
}

}  // namespace corvane
