#include "tools/cli/CRegisterAccess.h"

#include "modbus/CModbusTransfer.h"
#include "registers/CNumberText.h"

namespace corvane::cli {
namespace {

using Fail = Checked<AccessPlan>;

}  // namespace

std::string AccessPlan::Text(std::uint64_t value) const {
  return function->Bits() ? std::to_string(value) : codec.Text(value);
}

void AccessPlan::Json(CJsonWriter& json, std::uint64_t value) const {
  if (function->Bits()) json.Int(static_cast<std::int64_t>(value));
  else if (codec.TextIsNumber(value)) json.Raw(codec.Text(value));
  else json.String(codec.Text(value));
}

std::vector<OptionSpec> CRegisterAccess::Specs(bool write) {
  return {
      write ? OptionSpec{'f', "function", "5|6|15|16", "5 one coil, 15 coils, 6 one register, 16 registers "
                                                       "(default 6 for one register, else 16)"}
            : OptionSpec{'f', "function", "1|2|3|4", "1 coils, 2 discrete inputs, 3 holding registers (default), "
                                                     "4 input registers"},
      {'r', "address", "N", write ? "first address, 0 to 65535 (default 0)" : "first address, 0 to 65535 (default 0)"},
      {'c', "count", "N", "values to read (default 1); a 32-bit value takes two registers, float64 four"},
      {'t', "format", "FORMAT", "unsigned (default), signed, hex, binary, uint32, int32, float32, float64"},
      {0, "word-order", "big|little", "register order of 32/64-bit values: big, the first register most "
                                      "significant (default), or little"},
      {0, "byte-order", "big|little", "byte order inside each register: big (default), or little (swapped)"},
  };
}

Checked<AccessPlan> CRegisterAccess::Format(const CArgs& args) {
  AccessPlan plan;
  ValueFormat format = ValueFormat::Unsigned;
  WordOrder words = WordOrder::HighFirst;
  ByteOrder bytes = ByteOrder::HighFirst;
  if (const std::string* t = args.Value("format")) {
    const auto f = ParseValueFormat(*t);
    if (!f) return Fail::Fail("\"" + *t + "\" is no format (" + std::string(ValueFormatNames()) + ")");
    format = *f;
  }
  if (const std::string* w = args.Value("word-order")) {
    const auto o = ParseWordOrder(*w);
    if (!o) return Fail::Fail("\"" + *w + "\" is no word order (big or little)");
    words = *o;
  }
  if (const std::string* b = args.Value("byte-order")) {
    const auto o = ParseByteOrder(*b);
    if (!o) return Fail::Fail("\"" + *b + "\" is no byte order (big or little)");
    bytes = *o;
  }
  plan.codec = CRegisterCodec(format, words, bytes);
  if (const std::string* r = args.Value("address")) {
    const auto a = CNumberText::Integer(*r, 0, 65535, "address");
    if (!a) return Fail::Fail(a.Error());
    plan.address = static_cast<int>(*a);
  }
  return plan;
}

Checked<AccessPlan> CRegisterAccess::ForRead(const CArgs& args) {
  auto plan = Format(args);
  if (!plan) return plan;
  AccessPlan p = *plan;
  int code = 3;
  if (const std::string* f = args.Value("function")) {
    const auto v = CNumberText::Integer(*f, 1, 4, "read function");
    if (!v) return Fail::Fail("function \"" + *f + "\" does not read: use 1, 2, 3 or 4");
    code = static_cast<int>(*v);
  }
  p.function = FindModbusFunction(code);
  if (const std::string* c = args.Value("count")) {
    const auto v = CNumberText::Integer(*c, 1, 65536, "count");
    if (!v) return Fail::Fail(v.Error());
    p.count = static_cast<int>(*v);
  }
  if (p.function->Bits() && args.Has("format"))
    return Fail::Fail("function " + std::to_string(code) + " reads bits; --format is for registers (3 and 4)");
  auto request = CModbusRequest::Read(*p.function, p.address, p.Units());
  if (!request) return Fail::Fail(request.Error() + (p.Units() != p.count ? " (" + std::to_string(p.count) + " " +
                                                                               std::string(NameOf(p.codec.Format())) +
                                                                               " values)" : std::string()));
  p.request = std::move(request.Value());
  return p;
}

Checked<std::vector<std::uint64_t>> CRegisterAccess::Read(IModbusClient& client, int station, const AccessPlan& plan) {
  using Values = Checked<std::vector<std::uint64_t>>;
  const auto s = static_cast<std::uint8_t>(station);
  std::vector<std::uint64_t> values;
  if (plan.function->Bits()) {
    const auto bits = CModbusTransfer::Bits(client, s, plan.function->code, plan.request, plan.count);
    if (!bits) return Values::Fail(bits.Error());
    for (const bool b : *bits) values.push_back(b ? 1 : 0);
    return values;
  }
  const auto regs = CModbusTransfer::Registers(client, s, plan.function->code, plan.request, plan.Units());
  if (!regs) return Values::Fail(regs.Error());
  const auto width = static_cast<std::size_t>(plan.codec.Width());
  for (std::size_t i = 0; i + width <= regs->size(); i += width)
    values.push_back(plan.codec.Decode(std::span(regs->data() + i, width)));
  return values;
}

}  // namespace corvane::cli
