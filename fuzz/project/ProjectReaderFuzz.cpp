// Feeds arbitrary bytes to the project reader twice: as a whole file, and as content with a
// matching check value appended, so that the parser behind the check is reached too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "libs/portlink/Crc16.h"
#include "project/CProjectReader.h"
#include "project/CProjectWriter.h"
#include "project/ProjectFormat.h"

namespace {

class FuzzVisitor : public corvane::IProjectVisitor {
public:
  // Codes of up to four characters are "in the catalogue", named after their reverse.
  std::string ModuleNameFor(const std::string& code) override {
    if (code.empty() || code.size() > 4) return {};
    return std::string(code.rbegin(), code.rend());
  }
  void OnRecord(const std::string& code, const std::string& name, std::span<const std::uint8_t> data) override {
    if (name != ModuleNameFor(code) || data.size() > static_cast<std::size_t>(corvane::project::kMaxModuleData))
      std::abort();
    // Every applied record must survive a write and read back unchanged.
    corvane::CProjectWriter w;
    if (!w.AddRecord(code, name, data).Ok()) std::abort();
    Replay replay{code, name, std::vector<std::uint8_t>(data.begin(), data.end())};
    if (!corvane::CProjectReader::Parse(w.Content(), replay).Ok() || !replay.matched) std::abort();
    ++records;
  }
  int records = 0;

private:
  struct Replay : corvane::IProjectVisitor {
    Replay(std::string c, std::string n, std::vector<std::uint8_t> d)
        : code(std::move(c)), name(std::move(n)), data(std::move(d)) {}
    std::string ModuleNameFor(const std::string& c) override { return c == code ? name : std::string(); }
    void OnRecord(const std::string& c, const std::string& n, std::span<const std::uint8_t> d) override {
      matched = c == code && n == name && std::vector<std::uint8_t>(d.begin(), d.end()) == data;
    }
    std::string code, name;
    std::vector<std::uint8_t> data;
    bool matched = false;
  };
};

void Check(std::span<const std::uint8_t> file) {
  FuzzVisitor v;
  const corvane::CProjectResult r = corvane::CProjectReader::Parse(file, v);
  if (r.records != v.records || r.offset > file.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check({data, size});
  std::vector<std::uint8_t> sealed(data, data + size);
  const std::uint16_t crc = corvane::Crc16Modbus(data, size);
  sealed.push_back(static_cast<std::uint8_t>(crc));
  sealed.push_back(static_cast<std::uint8_t>(crc >> 8));
  Check(sealed);
  return 0;
}
