#include "modules/paramedit/CParamSet.h"

#include <algorithm>

namespace corvane::paramedit {
namespace {
constexpr std::uint8_t kMagic[4] = {'C', 'P', 'E', '1'};
constexpr std::size_t kHeader = 6;
constexpr std::size_t kPair = 4;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

CParamSet::CParamSet(std::vector<ParamSpec> specs) : m_specs(std::move(specs)), m_entries(m_specs.size()) {}

std::optional<std::int32_t> CParamSet::Value(std::size_t i) const {
  return i < m_entries.size() ? m_entries[i].value : std::nullopt;
}

int CParamSet::PendingCount() const {
  int n = 0;
  for (const Entry& e : m_entries) n += e.pending ? 1 : 0;
  return n;
}

EditResult CParamSet::Edit(std::size_t i, std::int32_t value) {
  if (i >= m_specs.size()) return EditResult::BadIndex;
  if (m_specs[i].readOnly) return EditResult::ReadOnly;
  if (!m_specs[i].InRange(value)) return EditResult::OutOfRange;
  m_entries[i].value = value;
  m_entries[i].pending = true;
  return EditResult::Ok;
}

void CParamSet::SetFromDevice(std::size_t i, std::uint16_t word) {
  if (i >= m_specs.size()) return;
  m_entries[i].value = m_specs[i].FromRegister(word);
  m_entries[i].pending = false;
}

void CParamSet::ClearPending(std::size_t i) {
  if (i < m_entries.size()) m_entries[i].pending = false;
}

int CParamSet::IndexOf(std::uint16_t address) const {
  for (std::size_t i = 0; i < m_specs.size(); ++i)
    if (m_specs[i].address == address) return static_cast<int>(i);
  return -1;
}

std::vector<std::uint8_t> CParamSet::Serialize() const {
  std::vector<std::uint8_t> out(kMagic, kMagic + 4);
  std::uint16_t count = 0;
  for (const Entry& e : m_entries) count = static_cast<std::uint16_t>(count + (e.value ? 1 : 0));
  Put16(out, count);
  for (std::size_t i = 0; i < m_specs.size(); ++i) {
    if (!m_entries[i].value) continue;
    Put16(out, m_specs[i].address);
    Put16(out, ParamSpec::ToRegister(*m_entries[i].value));
  }
  return out;
}

CParamSet::LoadReport CParamSet::Deserialize(std::span<const std::uint8_t> data) {
  LoadReport report;
  if (data.size() < kHeader || !std::equal(kMagic, kMagic + 4, data.begin())) return report;
  const std::size_t count = Get16(data.data() + 4);
  if (data.size() != kHeader + count * kPair) return report;
  report.ok = true;
  for (std::size_t k = 0; k < count; ++k) {
    const std::uint8_t* p = data.data() + kHeader + k * kPair;
    const int i = IndexOf(Get16(p));
    if (i < 0) {
      ++report.skipped;
      continue;
    }
    const std::int32_t value = m_specs[static_cast<std::size_t>(i)].FromRegister(Get16(p + 2));
    if (Edit(static_cast<std::size_t>(i), value) == EditResult::Ok) ++report.taken;
    else ++report.skipped;
  }
  return report;
}

std::string CParamSet::Describe(EditResult result, const ParamSpec& spec, std::int32_t value) {
  switch (result) {
    case EditResult::Ok: return {};
    case EditResult::BadIndex: return "no such parameter";
    case EditResult::ReadOnly: return spec.name + " is read-only";
    case EditResult::OutOfRange:
      return spec.name + ": " + std::to_string(value) + " is outside " + std::to_string(spec.minimum) + ".." +
             std::to_string(spec.maximum) + (spec.unit.empty() ? "" : " " + spec.unit);
  }
  return {};
}

}  // namespace corvane::paramedit
