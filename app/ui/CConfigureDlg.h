#pragma once
// Dialog 655 "Configure": the catalogue's modules under their network types, to tick and open.
#include <QDialog>

class QTreeWidget;

namespace corvane {

class CModuleCatalogue;
class meStringArray;

class CConfigureDlg : public QDialog {
  Q_OBJECT
public:
  // Ticks and unticks go into selected, in the order made.
  CConfigureDlg(const CModuleCatalogue& catalogue, const meStringArray& openModuleFiles, meStringArray& selected,
                QWidget* parent = nullptr);

  QTreeWidget* OptionTree() const { return m_pTree; }

private:
  QTreeWidget* m_pTree;
};

}  // namespace corvane
