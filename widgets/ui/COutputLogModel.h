#pragma once
// The output log's lines: time and text, in order of arrival, never trimmed.
#include <ctime>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QIcon>

namespace corvane {

class COutputLogModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit COutputLogModel(QObject* parent = nullptr);

  // "%Y/%m/%d  %H:%M:%S" in local time.
  static std::string FormatTime(std::time_t when);

  void AddLine(std::string text, std::time_t when);
  void Clear();
  std::size_t LineCount() const { return m_lines.size(); }
  const std::string& LineText(std::size_t i) const { return m_lines.at(i).text; }
  std::time_t LineTime(std::size_t i) const { return m_lines.at(i).when; }
  // The given lines as the clipboard gets them: time, a tab and the text, one line each;
  // rows that do not exist are left out.
  std::string CopyText(const std::vector<std::size_t>& rows) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  // The stamp is formatted when shown, so a line costs its text and one time value.
  struct Line {
    std::time_t when;
    std::string text;
  };
  std::vector<Line> m_lines;
  QIcon m_icon;
};

}  // namespace corvane
