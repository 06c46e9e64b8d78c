#include "tools/cli/CmdPoll.h"

#include <poll.h>

#include <cmath>
#include <memory>

#include "platform/CTerminationSignals.h"
#include "registers/CNumberText.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CTracePrinter.h"
#include "tools/cli/CCliLink.h"
#include "tools/cli/CRegisterAccess.h"
#include "tools/cli/CShownText.h"
#include "tools/cli/CTimeStamp.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

using Clock = std::chrono::steady_clock;

// A CSV field: quoted when it holds a comma, a quote or a line end (RFC 4180).
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void Header(CCliContext& ctx, const AccessPlan& plan) {
  ctx.out << "time";
  for (int i = 0; i < plan.count; ++i) ctx.out << ',' << plan.AddressOf(i);
  ctx.out << ",error\n";
}

void Row(CCliContext& ctx, bool json, const AccessPlan& plan, const std::string& stamp,
         const Checked<std::vector<std::uint64_t>>& values) {
  if (json) {
    CJsonWriter w;
    w.BeginObject().Key("time").String(stamp);
    if (values) {
      w.Key("values").BeginArray();
      for (const auto v : *values) plan.Json(w, v);
      w.EndArray();
    } else {
      w.Key("error").String(values.Error());
    }
    ctx.out << w.EndObject().Text();
  } else {
    ctx.out << stamp;
    for (int i = 0; i < plan.count; ++i) ctx.out << ',' << (values ? Field(plan.Text((*values)[static_cast<std::size_t>(i)])) : "");
    ctx.out << ',' << (values ? std::string() : Field(CShownText::ForTerminal(values.Error()))) << "\n";
  }
  ctx.out.flush();
}

// Waits until `until` or a termination signal; false on the signal.
bool Sleep(const platform::CTerminationSignals& signals, Clock::time_point until) {
  for (;;) {
    if (signals.TakeSignal() != 0) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return true;
    pollfd p{signals.ReadFd(), POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
  }
}

int RunPoll(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kPollCommand.Parse(ctx, args, parsed, status)) return status;
  const CTracePrinter trace(ctx.err, parsed.Has("trace"));
  const auto plan = CRegisterAccess::ForRead(parsed);
  if (!plan) return ctx.UsageError(kPollCommand, plan.Error());
  double interval = 1.0;
  if (const std::string* i = parsed.Value("interval")) {
    const auto v = CNumberText::Real(*i, "interval");
    if (!v || !(*v >= 0.01 && *v <= 86400)) return ctx.UsageError(kPollCommand, "interval \"" + *i + "\" is outside 0.01 to 86400 seconds");
    interval = *v;
  }
  std::int64_t times = 0;
  if (const std::string* n = parsed.Value("times")) {
    const auto v = CNumberText::Integer(*n, 1, 1000000000, "times");
    if (!v) return ctx.UsageError(kPollCommand, v.Error());
    times = *v;
  }
  std::string target;
  if (int status = 0; !kPollCommand.OneTarget(ctx, parsed, target, status)) return status;
  std::unique_ptr<CCliLink> link;
  if (const int status = CCliLink::OpenFor(ctx, kPollCommand, parsed, target, link); status != kExitOk) return status;

  const platform::CTerminationSignals signals;
  const bool json = parsed.Has("json");
  if (!json) Header(ctx, *plan);
  const auto start = Clock::now();
  const auto step = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(interval));
  bool failed = false;
  for (std::int64_t k = 0; times == 0 || k < times; ++k) {
    if (k > 0 && !Sleep(signals, start + step * k)) break;
    const auto values = CRegisterAccess::Read(link->Client(), link->Spec().station, *plan);
    failed = failed || !values;
    Row(ctx, json, *plan, CTimeStamp::Local(std::chrono::system_clock::now()), values);
    if (signals.TakeSignal() != 0) break;
  }
  return failed ? kExitNothing : kExitOk;
}

std::vector<OptionSpec> PollOptions() {
  auto specs = CRegisterAccess::Specs(false);
  specs.push_back({'i', "interval", "SECONDS", "time from one read's start to the next, 0.01 to 86400 (default 1)"});
  specs.push_back({'n', "times", "N", "reads to make (default: until interrupted)"});
  specs.push_back({0, "json", nullptr, "one JSON object per read (a line each) instead of CSV"});
  return specs;
}

}  // namespace

const CommandInfo kPollCommand = {
    "poll",
    "poll [options] [TARGET]",
    "repeat a read at an interval, as CSV with time stamps",
    "Reads as 'read' does, every INTERVAL seconds, N times or until interrupted (Ctrl+C, SIGTERM),\n"
    "and writes CSV: a header row (time, the address of each value, error), then one row per read\n"
    "with its local time stamp (ISO 8601 with milliseconds and the UTC offset). A read that fails\n"
    "leaves the values empty and names the cause in the error column; polling goes on. Exit status 1\n"
    "when any read failed.",
    PollOptions(),
    true,
    RunPoll,
};

}  // namespace corvane::cli
