#include "tools/cli/CmdPorts.h"

#include "libs/portlink/CPortLink.h"
#include "platform/CSerialPortMap.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CJsonWriter.h"
#include "tools/cli/CTable.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

std::string OrDash(const std::string& s) { return s.empty() ? "-" : s; }

int RunPorts(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kPortsCommand.Parse(ctx, args, parsed, status)) return status;
  if (!parsed.Positional().empty())
    return ctx.UsageError(kPortsCommand, "unexpected argument \"" + parsed.Positional()[0].substr(0, 40) + "\"");
  const auto entries = platform::CSerialPortMap().Entries();
  std::vector<std::string> why;
  for (const auto& e : entries) why.push_back(CPortLink::PortAvailability(e.device));
  if (parsed.Has("json")) {
    CJsonWriter w;
    w.BeginObject().Key("ports").BeginArray();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& e = entries[i];
      w.BeginObject().Key("com").String(e.comName).Key("device").String(e.device).Key("byId").String(e.byId);
      w.Key("driver").String(e.driver).Key("available").Bool(why[i].empty()).Key("reason").String(why[i]).EndObject();
    }
    ctx.out << w.EndArray().EndObject().Text();
  } else if (!entries.empty()) {
    CTable table({"COM", "device", "by-id", "driver", "may open"});
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& e = entries[i];
      table.AddRow({e.comName, e.device, OrDash(e.byId), OrDash(e.driver), why[i].empty() ? "yes" : "no: " + why[i]});
    }
    ctx.out << table.Text();
  } else {
    ctx.err << "corvane-cli ports: no serial port found\n";
  }
  return entries.empty() ? kExitNothing : kExitOk;
}

}  // namespace

const CommandInfo kPortsCommand = {
    "ports",
    "ports [options]",
    "list the serial ports and whether this user may open them",
    "Lists the port map as the program sees it: each COM name with its device, its name in\n"
    "/dev/serial/by-id and its kernel driver, and whether this user may open it now; if not, why:\n"
    "no such device, the permission missing and the group to join, or the program that holds it.\n"
    "No port is opened to find out. Exit status 1 when there is no serial port.",
    {kJsonOption},
    false,
    RunPorts,
};

}  // namespace corvane::cli
