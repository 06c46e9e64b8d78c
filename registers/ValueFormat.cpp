#include "registers/ValueFormat.h"

#include <array>
#include <utility>

namespace corvane {
namespace {

constexpr std::array<std::pair<std::string_view, ValueFormat>, 8> kFormats = {{
    {"unsigned", ValueFormat::Unsigned},
    {"signed", ValueFormat::Signed},
    {"hex", ValueFormat::Hex},
    {"binary", ValueFormat::Binary},
    {"uint32", ValueFormat::UInt32},
    {"int32", ValueFormat::Int32},
    {"float32", ValueFormat::Float32},
    {"float64", ValueFormat::Float64},
}};

}  // namespace

std::optional<ValueFormat> ParseValueFormat(std::string_view name) {
  for (const auto& [text, format] : kFormats)
    if (text == name) return format;
  return std::nullopt;
}

std::optional<WordOrder> ParseWordOrder(std::string_view name) {
  if (name == "big") return WordOrder::HighFirst;
  if (name == "little") return WordOrder::LowFirst;
  return std::nullopt;
}

std::optional<ByteOrder> ParseByteOrder(std::string_view name) {
  if (name == "big") return ByteOrder::HighFirst;
  if (name == "little") return ByteOrder::LowFirst;
  return std::nullopt;
}

std::string_view NameOf(ValueFormat format) {
  for (const auto& [text, f] : kFormats)
    if (f == format) return text;
  return "unsigned";
}

std::string_view NameOf(WordOrder order) { return order == WordOrder::HighFirst ? "big" : "little"; }
std::string_view NameOf(ByteOrder order) { return order == ByteOrder::HighFirst ? "big" : "little"; }

std::string_view ValueFormatNames() { return "unsigned, signed, hex, binary, uint32, int32, float32, float64"; }

int RegistersOf(ValueFormat format) {
  switch (format) {
    case ValueFormat::UInt32:
    case ValueFormat::Int32:
    case ValueFormat::Float32: return 2;
    case ValueFormat::Float64: return 4;
    default: return 1;
  }
}

}  // namespace corvane
