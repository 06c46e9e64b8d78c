#pragma once
// An aligned text table for people: a header row, columns padded to their widest cell (counted
// in characters, not bytes), cells made safe to show.
#include <string>
#include <vector>

namespace corvane::cli {

class CTable {
public:
  explicit CTable(std::vector<std::string> header) : m_header(std::move(header)) {}
  void AddRow(std::vector<std::string> cells);
  bool Empty() const noexcept { return m_rows.empty(); }
  std::string Text() const;

private:
  std::vector<std::string> m_header;
  std::vector<std::vector<std::string>> m_rows;
};

}  // namespace corvane::cli
