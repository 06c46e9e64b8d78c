#include "tools/cli/CmdSearch.h"

#include "comm/CLinkManager.h"
#include "libs/portlink/CPortLink.h"
#include "comm/CSerialLineSettings.h"
#include "resources/StringIds.h"
#include "settings/CIni.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CTracePrinter.h"
#include "tools/cli/CJsonWriter.h"
#include "tools/cli/CSearchHost.h"
#include "tools/cli/CSearchSettings.h"
#include "tools/cli/CStderrPrompts.h"
#include "tools/cli/CTable.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

const char* const kKinds[] = {"serial", "ip", "broadcast", "manager"};

std::string Dotted(std::uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." + std::to_string((a >> 8) & 0xFF) +
         "." + std::to_string(a & 0xFF);
}

// Where a device was heard: its discovery reply's address, else the serial line and station.
std::string AddressOf(const FoundDevice& d, const CReplyTable& replies, const SearchSettings& s) {
  if (d.record >= 0) {
    const std::uint32_t a = replies.Address(static_cast<std::size_t>(d.record));
    return a != 0 ? Dotted(a) : s.Where();
  }
  return s.Where() + " station " + std::to_string(s.conf.StationAddr);
}

std::string SubModuleText(const FoundDevice& d) {
  std::string text;
  for (const FoundModule& m : d.subModules) text += (text.empty() ? "" : ", ") + m.code + (m.name.empty() ? "" : " " + m.name);
  return text.empty() ? "-" : text;
}

void JsonModule(CJsonWriter& w, const FoundModule& m) {
  w.Key("code").String(m.code).Key("name").String(m.name).Key("group").String(m.group).Key("module").Bool(m.opens);
}

void Print(CCliContext& ctx, bool json, const CSearchHost& host, const CReplyTable& replies, const SearchSettings& s) {
  if (json) {
    CJsonWriter w;
    w.BeginObject().Key("search").String(s.kind).Key("link").String(s.Where()).Key("devices").BeginArray();
    for (const FoundDevice& d : host.Devices()) {
      w.BeginObject();
      JsonModule(w, d.module);
      w.Key("address").String(AddressOf(d, replies, s)).Key("subModules").BeginArray();
      for (const FoundModule& m : d.subModules) JsonModule(w.BeginObject(), m), w.EndObject();
      w.EndArray().EndObject();
    }
    w.EndArray().Key("modules").BeginArray();
    for (const std::string& code : host.Opened()) w.String(code);
    ctx.out << w.EndArray().EndObject().Text();
    return;
  }
  if (host.Devices().empty()) return;
  CTable table({"code", "name", "group", "address", "sub-modules"});
  for (const FoundDevice& d : host.Devices())
    table.AddRow({d.module.code.empty() ? "-" : d.module.code, d.module.name.empty() ? "-" : d.module.name,
                  d.module.group.empty() ? "-" : d.module.group, AddressOf(d, replies, s), SubModuleText(d)});
  ctx.out << table.Text();
}

int RunSearch(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kSearchCommand.Parse(ctx, args, parsed, status)) return status;
  const CTracePrinter trace(ctx.err, parsed.Has("trace"));
  std::vector<std::string> pos = parsed.Positional();
  std::string kind;
  if (!pos.empty() && std::find(std::begin(kKinds), std::end(kKinds), pos.front()) != std::end(kKinds)) {
    kind = pos.front();
    pos.erase(pos.begin());
  }
  if (pos.size() > 1) return ctx.UsageError(kSearchCommand, "unexpected argument \"" + pos[1].substr(0, 40) + "\"");
  auto settings = CSearchSettings::Make(parsed, kind, pos.empty() ? std::string() : pos.front(), ctx.LoadSettings());
  if (!settings) return ctx.UsageError(kSearchCommand, settings.Error());
  SearchSettings& s = settings.Value();

  const CStderrPrompts prompts(ctx.err, kSearchCommand.name);
  comm::CSerialLineSettings::Apply();  // the port map and the response time the program uses
  CPortLink portLink;
  if (!s.devicePath.empty()) portLink.SetPortResolver([path = s.devicePath](int) { return path; });
  CLinkManager links(s.conf, portLink);
  links.LogLine = [&ctx](const std::string& line) { ctx.err << "corvane-cli search: " << line << "\n"; };
  if (!links.LoadBusLink(ctx.ExeFolder())) return kExitLinkFailed;
  if (s.conf.CommType == 2) links.QueryPorthubPort();
  links.ApplyLinkSettings();
  if (s.responseMs > 0) {
    portLink.SetResponseTimeout(s.responseMs);
    links.DeviceQueryLimits.responseTimeoutMs = s.responseMs;
  }
  const std::string* cataloguePath = parsed.Value("catalogue");
  const CIni ini(cataloguePath ? *cataloguePath : ctx.CataloguePath());
  const CModuleCatalogue catalogue(ini);
  CSearchHost host(catalogue, s.conf.CommType, ctx.err, !parsed.Has("quiet"));
  CDeviceSearch search(links, host);
  search.SearchDevices();
  Print(ctx, parsed.Has("json"), host, search.Replies(), s);
  if (!host.Devices().empty()) return kExitOk;
  const bool linkFailed = std::find(host.Messages().begin(), host.Messages().end(), ids::kCannotOpenLink) !=
                          host.Messages().end();
  return linkFailed ? kExitLinkFailed : kExitNothing;
}

std::vector<OptionSpec> SearchOptions() {
  return {{0, "catalogue", "FILE", "module catalogue (default: Config/Modules.ini of the executable folder)"},
          {'q', "quiet", nullptr, "no progress on standard error"},
          kJsonOption};
}

}  // namespace

const CommandInfo kSearchCommand = {
    "search",
    "search [serial|ip|broadcast|manager] [options] [TARGET]",
    "find the maker's devices as the window's Search and IP Search do",
    "Runs the window's device search, by the same code: serial probes the station and sends the\n"
    "discovery request on a serial line (TARGET: COMn or a device path); ip asks one address (TARGET,\n"
    "else CVN.ini's) and broadcast every device on the network, each device then asked for its\n"
    "sub-modules over Modbus TCP (port 502); manager searches through the PORTHUB manager. Without\n"
    "a word, CVN.ini's link type decides. Each device heard is listed with its module code, the\n"
    "catalogue's module name and group, where it answered and its sub-modules; --json also lists\n"
    "the modules the window would open. Exit status 1 when no device answered, 3 when the link\n"
    "could not be opened.",
    SearchOptions(),
    true,
    RunSearch,
};

}  // namespace corvane::cli
