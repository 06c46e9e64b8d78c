#include "tools/cli/CmdWrite.h"

#include <memory>

#include "modbus/CModbusTransfer.h"
#include "registers/CNumberText.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CTracePrinter.h"
#include "tools/cli/CCliLink.h"
#include "tools/cli/CLinkOptions.h"
#include "tools/cli/CRegisterAccess.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

struct WritePlan {
  const ModbusFunction* function = nullptr;
  int address = 0;
  int units = 0;  // coils or registers written
  ModbusBytes request;
};

Checked<bool> CoilValue(const std::string& text) {
  if (text == "1" || text == "on" || text == "true") return true;
  if (text == "0" || text == "off" || text == "false") return false;
  return Checked<bool>::Fail("\"" + text.substr(0, 40) + "\" is no coil value (0, 1, on, off, true, false)");
}

Checked<WritePlan> Plan(const CArgs& args, const std::vector<std::string>& values) {
  using Fail = Checked<WritePlan>;
  const auto format = CRegisterAccess::Format(args);
  if (!format) return Fail::Fail(format.Error());
  int code = 0;
  if (const std::string* f = args.Value("function")) {
    const auto v = CNumberText::Integer(*f, 0, 255, "write function");
    if (!v || (*v != 5 && *v != 6 && *v != 15 && *v != 16))
      return Fail::Fail("function \"" + *f + "\" does not write: use 5, 6, 15 or 16");
    code = static_cast<int>(*v);
  }
  WritePlan plan;
  plan.address = format->address;
  if (code == 5 || code == 15) {
    if (args.Has("format")) return Fail::Fail("coils take 0 or 1; --format is for registers");
    std::vector<bool> bits;
    for (const std::string& v : values) {
      const auto b = CoilValue(v);
      if (!b) return Fail::Fail(b.Error());
      bits.push_back(*b);
    }
    plan.function = FindModbusFunction(code);
    auto request = CModbusRequest::WriteBits(*plan.function, plan.address, bits);
    if (!request) return Fail::Fail(request.Error());
    plan.request = std::move(request.Value());
    plan.units = static_cast<int>(bits.size());
    return plan;
  }
  std::vector<std::uint16_t> registers;
  for (const std::string& v : values) {
    const auto regs = format->codec.Encode(v);
    if (!regs) return Fail::Fail(regs.Error());
    registers.insert(registers.end(), regs->begin(), regs->end());
  }
  plan.function = FindModbusFunction(code != 0 ? code : registers.size() == 1 ? 6 : 16);
  auto request = CModbusRequest::WriteRegisters(*plan.function, plan.address, registers);
  if (!request) return Fail::Fail(request.Error() + (registers.size() != values.size() ? " (" + std::to_string(registers.size()) + " registers)" : std::string()));
  plan.request = std::move(request.Value());
  plan.units = static_cast<int>(registers.size());
  return plan;
}

int RunWrite(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kWriteCommand.Parse(ctx, args, parsed, status)) return status;
  const CTracePrinter trace(ctx.err, parsed.Has("trace"));
  std::vector<std::string> values = parsed.Positional();
  std::string target;
  if (!values.empty() && CLinkOptions::LooksLikeTarget(values.front())) {
    target = values.front();
    values.erase(values.begin());
  }
  if (values.empty()) return ctx.UsageError(kWriteCommand, "give the values to write");
  const auto plan = Plan(parsed, values);
  if (!plan) return ctx.UsageError(kWriteCommand, plan.Error());
  std::unique_ptr<CCliLink> link;
  if (const int status = CCliLink::OpenFor(ctx, kWriteCommand, parsed, target, link); status != kExitOk) return status;
  const int station = link->Spec().station;
  const std::string why = CModbusTransfer::Write(link->Client(), static_cast<std::uint8_t>(station), plan->function->code,
                                                 plan->request);
  if (!why.empty()) return ctx.Fail(kWriteCommand, why, kExitNothing);
  const std::string what = plan->function->Bits() ? " coil(s)" : " register(s)";
  if (parsed.Has("json")) {
    CJsonWriter w;
    ctx.out << w.BeginObject().Key("link").String(link->Spec().Name()).Key("station").Int(station)
                   .Key("function").Int(plan->function->code).Key("address").Int(plan->address)
                   .Key("count").Int(plan->units).EndObject().Text();
  } else {
    ctx.out << "wrote " << plan->units << what << " from address " << plan->address << " of station " << station
            << " (function " << int{plan->function->code} << ")\n";
  }
  return kExitOk;
}

std::vector<OptionSpec> WriteOptions() {
  auto specs = CRegisterAccess::Specs(true);
  specs.erase(specs.begin() + 2);  // no count: the values give it
  specs.push_back(kJsonOption);
  return specs;
}

}  // namespace

const CommandInfo kWriteCommand = {
    "write",
    "write [options] [TARGET] VALUE...",
    "write coils or holding registers of a station",
    "Writes the VALUEs from ADDRESS: registers in the format given (each value takes one, two or\n"
    "four registers), coils as 0, 1, on, off, true or false with -f 5 or 15. Each value is checked\n"
    "against its format before anything is sent. A negative value follows \"--\" or stands alone\n"
    "(-5, -1.5). Exit status 1 when the station does not confirm the write.",
    WriteOptions(),
    true,
    RunWrite,
};

}  // namespace corvane::cli
