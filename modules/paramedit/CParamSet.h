#pragma once
// The editor's table: the parameters of one device type with the value each holds, whether
// it came from the device, and whether it waits to be written. Also the project data codec.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "modules/paramedit/ParamSpec.h"

namespace corvane::paramedit {

enum class EditResult { Ok, BadIndex, ReadOnly, OutOfRange };

class CParamSet {
public:
  explicit CParamSet(std::vector<ParamSpec> specs = {});

  std::size_t Size() const { return m_specs.size(); }
  const ParamSpec& Spec(std::size_t i) const { return m_specs.at(i); }
  const std::vector<ParamSpec>& Specs() const { return m_specs; }
  // Nothing until read from the device or taken from a project.
  std::optional<std::int32_t> Value(std::size_t i) const;
  bool Pending(std::size_t i) const { return i < m_entries.size() && m_entries[i].pending; }
  int PendingCount() const;

  // A user's edit: refused on a read-only parameter or outside the range; then it waits to be written.
  EditResult Edit(std::size_t i, std::int32_t value);
  // A register word read from the device; nothing is pending afterwards.
  void SetFromDevice(std::size_t i, std::uint16_t word);
  void ClearPending(std::size_t i);
  // The index of a parameter's address, or -1.
  int IndexOf(std::uint16_t address) const;

  // Project data: "CPE1", a 16-bit count, then (address, register word) pairs, little-endian.
  std::vector<std::uint8_t> Serialize() const;
  struct LoadReport {
    bool ok = false;     // false: not this format, or truncated; nothing was taken
    int taken = 0;       // values set (they then wait to be written)
    int skipped = 0;     // unknown address, read-only or outside the range
  };
  LoadReport Deserialize(std::span<const std::uint8_t> data);

  static std::string Describe(EditResult result, const ParamSpec& spec, std::int32_t value);

private:
  struct Entry {
    std::optional<std::int32_t> value;
    bool pending = false;
  };
  std::vector<ParamSpec> m_specs;
  std::vector<Entry> m_entries;
};

}  // namespace corvane::paramedit
