#pragma once
// The parameter editor's document: the parameter set of one device type, read from and
// written to the device over the frame's link, kept in the project through the serialize area.
#include <string>

#include "framework/ui/CDocument.h"
#include "modules/paramedit/CParamSet.h"

namespace corvane::paramedit {

class CParamEditorDoc : public CDocument {
public:
  // title: the module name (the catalogue's field 3); paramFile: the description file's path.
  CParamEditorDoc(std::string title, std::string paramFile);

  bool OnNewDocument() override;

  CParamSet& Params() { return m_params; }
  const std::string& ParamFileError() const { return m_fileError; }

  // Command 10900: read every parameter. Returns whether all of them came.
  bool ReadFromDevice();
  // Writes the pending values. Returns whether all of them went.
  bool WriteToDevice();
  // A user's edit; a refused one is logged and changes nothing.
  bool EditValue(std::size_t index, std::int32_t value);
  // Commands 10902 and 10901.
  void SaveToProject();
  void LoadFromProject();

  // A line in the frame's output log, prefixed with the module name.
  void Log(const std::string& text) const;

private:
  void RefreshViews();

  std::string m_strModuleTitle;
  std::string m_strParamFile;
  std::string m_fileError;
  CParamSet m_params;
};

}  // namespace corvane::paramedit
