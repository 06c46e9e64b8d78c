#include "tools/cli/CmdRead.h"

#include <memory>

#include "tools/cli/CCliContext.h"
#include "tools/cli/CTracePrinter.h"
#include "tools/cli/CCliLink.h"
#include "tools/cli/CRegisterAccess.h"
#include "tools/cli/CTable.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

void Print(CCliContext& ctx, bool json, const CCliLink& link, const AccessPlan& plan,
           const std::vector<std::uint64_t>& values) {
  if (json) {
    CJsonWriter w;
    w.BeginObject().Key("link").String(link.Spec().Name()).Key("station").Int(link.Spec().station);
    w.Key("function").Int(plan.function->code).Key("format").String(plan.function->Bits() ? "bit" : NameOf(plan.codec.Format()));
    w.Key("values").BeginArray();
    for (std::size_t i = 0; i < values.size(); ++i) {
      w.BeginObject().Key("address").Int(plan.AddressOf(static_cast<int>(i))).Key("value");
      plan.Json(w, values[i]);
      w.EndObject();
    }
    ctx.out << w.EndArray().EndObject().Text();
    return;
  }
  CTable table({"address", "value"});
  for (std::size_t i = 0; i < values.size(); ++i)
    table.AddRow({std::to_string(plan.AddressOf(static_cast<int>(i))), plan.Text(values[i])});
  ctx.out << table.Text();
}

int RunRead(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kReadCommand.Parse(ctx, args, parsed, status)) return status;
  const CTracePrinter trace(ctx.err, parsed.Has("trace"));
  const auto plan = CRegisterAccess::ForRead(parsed);
  if (!plan) return ctx.UsageError(kReadCommand, plan.Error());
  std::string target;
  if (int status = 0; !kReadCommand.OneTarget(ctx, parsed, target, status)) return status;
  std::unique_ptr<CCliLink> link;
  if (const int status = CCliLink::OpenFor(ctx, kReadCommand, parsed, target, link); status != kExitOk) return status;
  const auto values = CRegisterAccess::Read(link->Client(), link->Spec().station, *plan);
  if (!values) return ctx.Fail(kReadCommand, values.Error(), kExitNothing);
  Print(ctx, parsed.Has("json"), *link, *plan, *values);
  return kExitOk;
}

std::vector<OptionSpec> ReadOptions() {
  auto specs = CRegisterAccess::Specs(false);
  specs.push_back(kJsonOption);
  return specs;
}

}  // namespace

const CommandInfo kReadCommand = {
    "read",
    "read [options] [TARGET]",
    "read coils, discrete inputs or registers of a station",
    "Reads COUNT values from ADDRESS of a station with function 1, 2, 3 or 4 and prints them, one\n"
    "row per value with its address (registers: the first register of a 32- or 64-bit value).\n"
    "Addresses are those on the wire, from 0 (mbpoll's -0). Exit status 1 when the station does not\n"
    "answer or answers with an exception.",
    ReadOptions(),
    true,
    RunRead,
};

}  // namespace corvane::cli
