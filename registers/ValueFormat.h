#pragma once
// How the contents of Modbus registers read as numbers: the format, and the order of the
// registers (words) and of the two bytes inside each register.
#include <optional>
#include <string_view>

namespace corvane {

enum class ValueFormat { Unsigned, Signed, Hex, Binary, UInt32, Int32, Float32, Float64 };
// HighFirst: the first register (or byte) holds the most significant part, as Modbus sends a
// register. LowFirst: the least significant part comes first.
enum class WordOrder { HighFirst, LowFirst };
enum class ByteOrder { HighFirst, LowFirst };

// Names as a user types them: "unsigned", "signed", "hex", "binary", "uint32", "int32",
// "float32", "float64"; the orders "big" (high first) and "little" (low first).
std::optional<ValueFormat> ParseValueFormat(std::string_view name);
std::optional<WordOrder> ParseWordOrder(std::string_view name);
std::optional<ByteOrder> ParseByteOrder(std::string_view name);
std::string_view NameOf(ValueFormat format);
std::string_view NameOf(WordOrder order);
std::string_view NameOf(ByteOrder order);
// The list of names, for help texts and messages: "unsigned, signed, ...".
std::string_view ValueFormatNames();

// Registers one value takes: 1, 2 or 4.
int RegistersOf(ValueFormat format);

}  // namespace corvane
