#include "tools/cli/CTable.h"

#include <algorithm>

#include "tools/cli/CShownText.h"

namespace corvane::cli {
namespace {

std::size_t Characters(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

void CTable::AddRow(std::vector<std::string> cells) {
  for (auto& c : cells) c = CShownText::ForTerminal(c);
  cells.resize(m_header.size());
  m_rows.push_back(std::move(cells));
}

std::string CTable::Text() const {
  std::vector<std::size_t> width(m_header.size());
  for (std::size_t c = 0; c < m_header.size(); ++c) {
    width[c] = Characters(m_header[c]);
    for (const auto& row : m_rows) width[c] = std::max(width[c], Characters(row[c]));
  }
  std::string text;
  auto line = [&](const std::vector<std::string>& cells) {
    std::string l;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      l += cells[c];
      if (c + 1 < cells.size()) l += std::string(width[c] - Characters(cells[c]) + 2, ' ');
    }
    text += l + "\n";
  };
  line(m_header);
  for (const auto& row : m_rows) line(row);
  return text;
}

}  // namespace corvane::cli
