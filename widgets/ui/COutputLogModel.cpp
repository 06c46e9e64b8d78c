#include "widgets/ui/COutputLogModel.h"

#include <limits>

#include "framework/ui/CResourceIcons.h"
#include "resources/CStringTable.h"

namespace corvane {

COutputLogModel::COutputLogModel(QObject* parent) : QAbstractTableModel(parent), m_icon(LoadIcon(402)) {}

std::string COutputLogModel::FormatTime(std::time_t when) {
  std::tm tm{};
  if (!localtime_r(&when, &tm)) return {};
  char buf[40];
  const std::size_t n = std::strftime(buf, sizeof buf, "%Y/%m/%d  %H:%M:%S", &tm);
  return std::string(buf, n);
}

void COutputLogModel::AddLine(std::string text, std::time_t when) {
  // Rows are ints in Qt: beyond that the log stops growing rather than corrupting the view.
  if (m_lines.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) return;
  const int row = static_cast<int>(m_lines.size());
  beginInsertRows({}, row, row);
  m_lines.push_back(Line{when, std::move(text)});
  endInsertRows();
}

void COutputLogModel::Clear() {
  if (m_lines.empty()) return;
  beginResetModel();
  m_lines.clear();
  m_lines.shrink_to_fit();
  endResetModel();
}

int COutputLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int COutputLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant COutputLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= m_lines.size()) return {};
  const Line& line = m_lines[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    if (index.column() == 0) return QString::fromStdString(FormatTime(line.when));
    if (index.column() == 1) return QString::fromStdString(line.text);
  } else if (role == Qt::ToolTipRole && index.column() == 1) {
    // A line longer than the pane is cut at its edge: the tooltip shows it whole.
    return QString::fromStdString(line.text);
  } else if (role == Qt::DecorationRole && index.column() == 0) {
    return m_icon;
  }
  return {};
}

std::string COutputLogModel::CopyText(const std::vector<std::size_t>& rows) const {
  std::string out;
  for (std::size_t row : rows) {
    if (row >= m_lines.size()) continue;
    if (!out.empty()) out += '\n';
    out += FormatTime(m_lines[row].when) + '\t' + m_lines[row].text;
  }
  return out;
}

QVariant COutputLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == 0) return QString::fromStdString(LoadString(506));
  if (section == 1) return QString::fromStdString(LoadString(507));
  return {};
}

}  // namespace corvane
