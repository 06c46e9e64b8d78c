#include "modules/paramedit/ui/CParamEditorDoc.h"

#include <vector>

#include "framework/CommandIds.h"
#include "framework/FrameMessages.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "modules/paramedit/CParamFile.h"
#include "modules/paramedit/CParamTransfer.h"
#include "modules/paramedit/ui/CParamEditorView.h"
#include "sdk/CorvaneModule.h"

namespace corvane::paramedit {

CParamEditorDoc::CParamEditorDoc(std::string title, std::string paramFile)
    : m_strModuleTitle(std::move(title)), m_strParamFile(std::move(paramFile)) {
  ParamFileResult file = CParamFile::Load(m_strParamFile);
  m_fileError = file.error;
  m_params = CParamSet(std::move(file.params));
  MapCommand(cmd::ID_MODULE_AFTER_SEARCH, [this] { ReadFromDevice(); });
  MapCommand(cmd::ID_MODULE_DATA_SAVE, [this] { SaveToProject(); });
  MapCommand(cmd::ID_MODULE_DATA_LOAD, [this] { LoadFromProject(); });
}

bool CParamEditorDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return false;
  SetTitle(m_strModuleTitle);
  if (!m_fileError.empty()) Log("parameter file refused: " + m_fileError);
  return true;
}

void CParamEditorDoc::Log(const std::string& text) const {
  const std::string line = m_strModuleTitle + ": " + text;
  if (CMDIFrameWnd* frame = AfxGetMainFrame())
    frame->SendMessage(WM_OUTPUT_ADD_LINE, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void CParamEditorDoc::RefreshViews() {
  for (CView* view : GetViews())
    if (auto* editor = dynamic_cast<CParamEditorView*>(view)) editor->Refresh();
}

namespace {
// Opens the frame's link for one transfer and closes it again: the search and other modules
// need the port free between transfers.
template <typename Body>
bool WithLink(const CParamEditorDoc& doc, Body body) {
  CPortLink* link = CorvaneFrameLink();
  if (!link) {
    doc.Log("no link to the device (no host frame)");
    return false;
  }
  CLink device = CorvaneFrameModuleLink(doc.GetTitle().c_str());
  if (!device) {
    doc.Log("the link could not be opened");
    return false;
  }
  CParamTransfer transfer(*device.PortLink(), device.TypeNumber(), device.Handle());
  const TransferReport report = body(transfer);
  device.Close();
  for (const std::string& error : report.errors) doc.Log(error);
  return report.Ok();
}
}  // namespace

bool CParamEditorDoc::ReadFromDevice() {
  if (m_params.Size() == 0) return false;
  int registers = 0;
  const bool ok = WithLink(*this, [this, &registers](CParamTransfer& t) {
    TransferReport report = t.ReadAll(m_params);
    registers = report.registers;
    return report;
  });
  if (ok) Log(std::to_string(registers) + " parameters read");
  RefreshViews();
  return ok;
}

bool CParamEditorDoc::WriteToDevice() {
  if (m_params.PendingCount() == 0) return true;
  const bool ok = WithLink(*this, [this](CParamTransfer& t) { return t.WritePending(m_params); });
  if (ok) Log("parameters written");
  RefreshViews();
  return ok;
}

bool CParamEditorDoc::EditValue(std::size_t index, std::int32_t value) {
  const EditResult result = m_params.Edit(index, value);
  if (result != EditResult::Ok) {
    Log("refused: " + (index < m_params.Size() ? CParamSet::Describe(result, m_params.Spec(index), value)
                                               : std::string("no such parameter")));
  }
  RefreshViews();
  return result == EditResult::Ok;
}

void CParamEditorDoc::SaveToProject() {
  CPortLink* link = CorvaneFrameLink();
  if (!link) return;
  const std::vector<std::uint8_t> data = m_params.Serialize();
  if (link->SetSerializeData(data.data(), static_cast<int>(data.size())) < 0) Log("project data too large");
}

void CParamEditorDoc::LoadFromProject() {
  CPortLink* link = CorvaneFrameLink();
  if (!link) return;
  std::vector<unsigned char> buffer(CPortLink::kSerializeSize);
  const int length = link->GetSerializeData(buffer.data());
  if (length <= 0) return;
  const CParamSet::LoadReport report =
      m_params.Deserialize(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(length)));
  if (!report.ok) Log("project data not in the parameter editor's format; ignored");
  else if (report.skipped > 0) Log(std::to_string(report.skipped) + " project values did not fit this device's parameters; skipped");
  RefreshViews();
}

}  // namespace corvane::paramedit
