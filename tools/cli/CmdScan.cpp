#include "tools/cli/CmdScan.h"

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "platform/CTerminationSignals.h"
#include "registers/CNumberText.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CTracePrinter.h"
#include "tools/cli/CCliLink.h"
#include "tools/cli/CJsonWriter.h"
#include "tools/cli/CLinkOptions.h"
#include "tools/cli/CScanProgress.h"
#include "tools/cli/CScanTarget.h"
#include "tools/cli/CTable.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

constexpr int kScanTimeoutMs = 100;

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    items.push_back(text.substr(start, comma - start));
  items.push_back(text.substr(start));
  return items;
}

// The link's spec once per speed and format given (serial only).
Checked<std::vector<LinkSpec>> Settings(const CArgs& args, const LinkSpec& base) {
  using Fail = Checked<std::vector<LinkSpec>>;
  const std::string* speeds = args.Value("speeds");
  const std::string* formats = args.Value("formats");
  if (base.kind == LinkSpec::Kind::Tcp) {
    if (speeds || formats) return Fail::Fail("--speeds and --formats are for a serial line");
    return std::vector<LinkSpec>{base};
  }
  std::vector<int> bauds = {base.baud};
  std::vector<LinkSpec> shapes = {base};
  std::string error;
  if (speeds) {
    bauds.clear();
    for (const std::string& s : SplitList(*speeds)) {
      if (!CLinkOptions::ParseSpeed(s, bauds.emplace_back(), error)) return Fail::Fail(error);
    }
  }
  if (formats) {
    shapes.clear();
    for (const std::string& f : SplitList(*formats)) {
      if (!CLinkOptions::ParseFormat(f, shapes.emplace_back(base), error)) return Fail::Fail(error);
    }
  }
  if (bauds.size() * shapes.size() > 64) return Fail::Fail("at most 64 speed and format pairs");
  std::vector<LinkSpec> all;
  for (const int baud : bauds)
    for (LinkSpec s : shapes) {
      s.baud = baud;
      all.push_back(s);
    }
  return all;
}

void Print(CCliContext& ctx, bool json, const CScanTarget& target, const ScanResult& result) {
  auto object = [](const FoundStation& f, std::uint8_t id) {
    for (const DeviceIdObject& o : f.identification)
      if (o.id == id) return o.value;
    return std::string();
  };
  if (json) {
    CJsonWriter w;
    w.BeginObject().Key("stations").BeginArray();
    for (const FoundStation& f : result.found) {
      w.BeginObject().Key("station").Int(f.station).Key("line").String(target.SettingName(f.setting));
      w.Key("exception");
      if (f.exceptionReply) w.Int(f.exception);
      else w.Null();
      w.Key("identification");
      if (!f.identified) w.Null();
      else {
        w.BeginArray();
        for (const DeviceIdObject& o : f.identification)
          w.BeginObject().Key("id").Int(o.id).Key("name").String(CDeviceIdentification::ObjectName(o.id))
              .Key("value").String(o.value).EndObject();
        w.EndArray();
      }
      w.EndObject();
    }
    w.EndArray().Key("interrupted").Bool(result.stopped);
    ctx.out << w.EndObject().Text();
    return;
  }
  if (result.found.empty()) return;
  CTable table({"station", "line", "answer", "vendor", "product", "revision"});
  for (const FoundStation& f : result.found)
    table.AddRow({std::to_string(f.station), target.SettingName(f.setting),
                  f.exceptionReply ? ExceptionText(f.exception, false) : "data",
                  f.identified ? object(f, 0) : "-", f.identified ? object(f, 1) : "-",
                  f.identified ? object(f, 2) : "-"});
  ctx.out << table.Text();
}

int RunScan(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kScanCommand.Parse(ctx, args, parsed, status)) return status;
  const CTracePrinter trace(ctx.err, parsed.Has("trace"));
  ScanOptions options;
  options.identify = !parsed.Has("no-identify");
  for (auto [name, field] : {std::pair{"first", &options.first}, std::pair{"last", &options.last}}) {
    if (const std::string* v = parsed.Value(name)) {
      const auto n = CNumberText::Integer(*v, 1, 247, std::string("--") + name);
      if (!n) return ctx.UsageError(kScanCommand, n.Error());
      *field = static_cast<int>(*n);
    }
  }
  if (options.first > options.last) return ctx.UsageError(kScanCommand, "--first is above --last");
  std::string target;
  if (int status = 0; !kScanCommand.OneTarget(ctx, parsed, target, status)) return status;
  auto spec = CLinkOptions::Resolve(parsed, target, ctx.LoadSettings());
  if (!spec) return ctx.UsageError(kScanCommand, spec.Error());
  if (!parsed.Has("timeout")) spec.Value().timeoutMs = kScanTimeoutMs;
  const auto settings = Settings(parsed, *spec);
  if (!settings) return ctx.UsageError(kScanCommand, settings.Error());

  CCliLink link(settings->front());
  if (const std::string why = link.Open(); !why.empty() && settings->size() == 1)
    return ctx.Fail(kScanCommand, why, kExitLinkFailed);
  CScanTarget scanTarget(link, *settings);
  const platform::CTerminationSignals signals;
  CScanProgress progress(ctx.err, !parsed.Has("quiet"), ::isatty(STDERR_FILENO) == 1);
  const ScanResult result = CStationScan::Run(scanTarget, options, [&](const ScanProgress& p) {
    progress.Show(p, scanTarget.SettingName(p.setting));
    return signals.TakeSignal() == 0;
  });
  progress.Done(result);
  Print(ctx, parsed.Has("json"), scanTarget, result);
  const bool allRefused = std::all_of(result.settings.begin(), result.settings.end(),
                                      [](const ScanSetting& s) { return !s.error.empty(); });
  if (allRefused && !result.settings.empty()) return kExitLinkFailed;
  return result.found.empty() ? kExitNothing : kExitOk;
}

}  // namespace

const CommandInfo kScanCommand = {
    "scan",
    "scan [options] [TARGET]",
    "find the stations that answer on a serial line or a Modbus TCP address",
    "Asks each station address from --first to --last (1 to 247) once for one holding register;\n"
    "a station that answers, even with an exception, is listed with its identification (function\n"
    "43/14) where it gives one. Each address waits the time-out (default 0.1 s here), so a whole\n"
    "scan takes about 247 times it per line setting. On a serial line --speeds and --formats scan\n"
    "every pair in turn. Progress goes to standard error; Ctrl+C ends the scan and lists what was\n"
    "found. Exit status 1 when no station answered.",
    {{0, "first", "N", "first station address (default 1)"},
     {0, "last", "N", "last station address (default 247)"},
     {0, "speeds", "LIST", "line speeds to scan in turn, e.g. 9600,19200,115200"},
     {0, "formats", "LIST", "line formats to scan in turn, e.g. 8N1,8E1,7E1"},
     {0, "no-identify", nullptr, "do not read the identification (43/14) of stations found"},
     {'q', "quiet", nullptr, "no progress on standard error"},
     kJsonOption},
    true,
    RunScan,
};

}  // namespace corvane::cli
