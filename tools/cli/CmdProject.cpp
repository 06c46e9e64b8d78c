#include "tools/cli/CmdProject.h"

#include <memory>

#include "app/CModuleCatalogue.h"
#include "project/CProjectReader.h"
#include "project/IProjectVisitor.h"
#include "resources/CStringTable.h"
#include "settings/CIni.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CJsonWriter.h"
#include "tools/cli/CShownText.h"
#include "tools/cli/CTable.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

struct Record {
  std::string code, name, group;
  std::size_t bytes;
};

// The loader's rules with the catalogue of the installation; records are only noted.
class ListingVisitor final : public IProjectVisitor {
public:
  explicit ListingVisitor(const CModuleCatalogue& catalogue) : m_catalogue(catalogue) {}
  std::string ModuleNameFor(const std::string& code) override { return m_catalogue.GetModuleName(code); }
  void OnRecord(const std::string& code, const std::string& name, std::span<const std::uint8_t> data) override {
    const auto entry = m_catalogue.Find(code);
    records.push_back({code, name, entry ? entry->networkType : std::string(), data.size()});
  }
  std::vector<Record> records;

private:
  const CModuleCatalogue& m_catalogue;
};

// The loader's message: 516 for an invalid file, else its read or file error.
std::string Message(const CProjectResult& r) {
  return r.MessageId() != 0 ? LoadString(static_cast<unsigned>(r.MessageId())) : r.description;
}

void PrintJson(CCliContext& ctx, const std::string& file, const CProjectResult& r, const std::vector<Record>& records,
               bool show) {
  CJsonWriter json;
  json.BeginObject().Key("file").String(file).Key("valid").Bool(r.Ok());
  json.Key("status").String(ToString(r.status));
  if (!r.Ok()) {
    json.Key("message").String(Message(r)).Key("detail").String(r.description).Key("offset").Int(
        static_cast<std::int64_t>(r.offset));
  }
  json.Key("records").Int(static_cast<std::int64_t>(records.size()));
  if (show) {
    json.Key("modules").BeginArray();
    for (const Record& rec : records)
      json.BeginObject().Key("code").String(rec.code).Key("name").String(rec.name).Key("group").String(rec.group)
          .Key("bytes").Int(static_cast<std::int64_t>(rec.bytes)).EndObject();
    json.EndArray();
  }
  ctx.out << json.EndObject().Text();
}

void PrintHuman(CCliContext& ctx, const std::string& file, const CProjectResult& r, const std::vector<Record>& records,
                bool show) {
  if (show && !records.empty()) {
    CTable table({"#", "code", "name", "group", "bytes"});
    int i = 0;
    for (const Record& rec : records)
      table.AddRow({std::to_string(++i), rec.code, rec.name, rec.group, std::to_string(rec.bytes)});
    ctx.out << table.Text();
  }
  if (r.Ok()) {
    ctx.out << CShownText::ForTerminal(file) << ": valid, " << records.size() << " module record(s)\n";
    return;
  }
  // The loader's message, then where and why, as the output log would name it.
  ctx.err << "corvane-cli project: " << CShownText::ForTerminal(file) << ": " << Message(r) << "\n";
  if (r.MessageId() != 0) ctx.err << "  " << CShownText::ForTerminal(r.description) << "\n";
}

int RunProject(CCliContext& ctx, const std::vector<std::string>& args) {
  CArgs parsed;
  if (int status = 0; !kProjectCommand.Parse(ctx, args, parsed, status)) return status;
  const auto& pos = parsed.Positional();
  if (pos.size() != 2 || (pos[0] != "show" && pos[0] != "check"))
    return ctx.UsageError(kProjectCommand, pos.empty() ? "say show or check, and the project file"
                                                       : pos.size() == 1 ? "name the project file"
                                                                         : "say show or check, and one project file");
  const bool show = pos[0] == "show";
  const std::string& file = pos[1];
  const std::string* cataloguePath = parsed.Value("catalogue");
  const CIni ini(cataloguePath ? *cataloguePath : ctx.CataloguePath());
  const CModuleCatalogue catalogue(ini);
  ListingVisitor visitor(catalogue);
  const CProjectResult r = CProjectReader::Load(file, visitor);
  if (r.status == ProjectStatus::FileError) return ctx.Fail(kProjectCommand, r.description, kExitUsage);
  if (parsed.Has("json")) PrintJson(ctx, file, r, visitor.records, show);
  else PrintHuman(ctx, file, r, visitor.records, show);
  return r.Ok() ? kExitOk : kExitNothing;
}

}  // namespace

const CommandInfo kProjectCommand = {
    "project",
    "project show|check [options] FILE",
    "show the modules of a project file, or check it",
    "show lists the module records of a .cvn project file (module code, name, group, data bytes);\n"
    "check says whether its check value and records are valid. Both read the file as the program\n"
    "loads a project, with the same rules (the module catalogue of this installation included) and\n"
    "messages. A file that is not valid is named with the program's message and where it fails.\n"
    "Exit status 1 for an invalid file, 2 for one that cannot be read.",
    {{0, "catalogue", "FILE", "module catalogue (default: Config/Modules.ini of the executable folder)"}, kJsonOption},
    false,
    RunProject,
};

}  // namespace corvane::cli
