#pragma once
// A frame stand-in for the search: a catalogue of known codes and a record of what happened.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "discovery/CDeviceSearch.h"

namespace corvane::test {

class FakeSearchHost : public ISearchHost {
public:
  explicit FakeSearchHost(std::set<std::string> catalogue) : m_catalogue(std::move(catalogue)) {}
  void PrepareSearch() override { ++prepared; }
  bool OpenModule(const std::string& code) override {
    tried.push_back(code);
    if (!m_catalogue.count(code)) return false;
    if (std::find(opened.begin(), opened.end(), code) == opened.end()) opened.push_back(code);
    return true;
  }
  void ShowMessage(unsigned id) override { messages.push_back(id); }
  void LogLine(const std::string& text) override { log.push_back(text); }
  void BeginScanProgress() override { ++progress; }
  void EndScanProgress() override { --progress; }

  std::vector<std::string> tried, opened, log;
  std::vector<unsigned> messages;
  int prepared = 0, progress = 0;  // progress: windows open

private:
  std::set<std::string> m_catalogue;
};

}  // namespace corvane::test
