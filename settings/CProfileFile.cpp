#include "settings/CProfileFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "settings/AsciiText.h"
#include "settings/CAtomicFile.h"

namespace corvane {

namespace {

enum class Kind { Other, Header, Entry };

struct Line {
  std::string text;  // as in the file, without its line end
  Kind kind = Kind::Other;
  std::string name;  // section or key, trimmed
  std::string value;
};

struct Document {
  std::vector<Line> lines;
  std::string eol = "\n";
};

enum class LoadResult { Missing, Loaded, Failed };

using ascii::Lower;
using ascii::SameNoCase;
using ascii::Trim;

std::string CutAtNul(std::string s) {
  const std::size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

// skip: bytes at the front that are not part of the line's meaning (a UTF-8 byte order mark).
Line Classify(std::string text, std::size_t skip = 0) {
  Line line;
  const std::string t = Trim(text.substr(std::min(skip, text.size())));
  line.text = std::move(text);
  if (t.empty() || t[0] == ';') return line;
  if (t[0] == '[') {
    // A header without ']' still opens a section named by the rest of the line.
    const std::size_t close = t.find(']');
    line.kind = Kind::Header;
    line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  const std::size_t eq = t.find('=');
  if (eq == std::string::npos) return line;
  std::string key = Trim(t.substr(0, eq));
  if (key.empty()) return line;
  line.kind = Kind::Entry;
  line.name = std::move(key);
  line.value = Trim(t.substr(eq + 1));
  return line;
}

void Parse(const std::string& content, Document& doc) {
  std::size_t crlf = 0, lf = 0, pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    const bool last = end == std::string::npos;
    if (last) end = content.size();
    std::string text = content.substr(pos, end - pos);
    if (!last) {
      if (!text.empty() && text.back() == '\r') {
        text.pop_back();
        ++crlf;
      } else {
        ++lf;
      }
    }
    const bool bom = pos == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    doc.lines.push_back(Classify(std::move(text), bom ? 3 : 0));
    pos = end + 1;
  }
  doc.eol = crlf > lf ? "\r\n" : "\n";
}

LoadResult Load(const std::string& path, Document& doc) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? LoadResult::Missing : LoadResult::Failed;
  if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > CProfileFile::kMaxFileSize)
    return LoadResult::Failed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return LoadResult::Failed;
  std::string content;
  content.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    content.append(buf, static_cast<std::size_t>(in.gcount()));
    if (content.size() > CProfileFile::kMaxFileSize) return LoadResult::Failed;
  }
  if (in.bad()) return LoadResult::Failed;
  Parse(content, doc);
  return LoadResult::Loaded;
}

bool Save(const std::string& path, const Document& doc) {
  std::string out;
  for (const Line& line : doc.lines) {
    out += line.text;
    out += doc.eol;
  }
  if (out.size() > CProfileFile::kMaxFileSize) return false;
  return CAtomicFile::Write(path, out);
}

// Loads for a change; a file that exists but cannot be read is never overwritten.
bool LoadForWrite(const std::string& path, Document& doc) { return Load(path, doc) != LoadResult::Failed; }

bool HasBreak(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

bool ValidSection(const std::string& s) { return !HasBreak(s) && s.find(']') == std::string::npos; }

bool ValidKey(const std::string& k) {
  const std::string t = Trim(k);
  return !t.empty() && !HasBreak(k) && t.find('=') == std::string::npos && t[0] != '[' && t[0] != ';';
}

// Index of the first header named section, or lines.size().
std::size_t FindSection(const Document& doc, const std::string& section, std::size_t from = 0) {
  const std::string name = Trim(section);
  for (std::size_t i = from; i < doc.lines.size(); ++i)
    if (doc.lines[i].kind == Kind::Header && SameNoCase(doc.lines[i].name, name)) return i;
  return doc.lines.size();
}

std::size_t SectionEnd(const Document& doc, std::size_t header) {
  std::size_t i = header + 1;
  while (i < doc.lines.size() && doc.lines[i].kind != Kind::Header) ++i;
  return i;
}

// One past the last non-blank line of the section, so blank separators stay behind it.
std::size_t SectionContentEnd(const Document& doc, std::size_t header) {
  std::size_t end = SectionEnd(doc, header);
  while (end > header + 1 && Trim(doc.lines[end - 1].text).empty()) --end;
  return end;
}

std::size_t AppendSection(Document& doc, const std::string& section) {
  if (!doc.lines.empty() && !Trim(doc.lines.back().text).empty()) doc.lines.push_back(Classify(""));
  doc.lines.push_back(Classify("[" + Trim(section) + "]"));
  return doc.lines.size() - 1;
}

}  // namespace

std::string CProfileFile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                     const std::string& def) {
  Document doc;
  if (Load(path, doc) != LoadResult::Loaded) return def;
  const std::size_t header = FindSection(doc, section);
  if (header == doc.lines.size()) return def;
  const std::string name = Trim(key);
  const std::size_t end = SectionEnd(doc, header);
  for (std::size_t i = header + 1; i < end; ++i)
    if (doc.lines[i].kind == Kind::Entry && SameNoCase(doc.lines[i].name, name))
      return CutAtNul(doc.lines[i].value);
  return def;
}

bool CProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!ValidSection(section) || !ValidKey(key) || HasBreak(value)) return false;
  Document doc;
  if (!LoadForWrite(path, doc)) return false;
  const std::string name = Trim(key);
  std::size_t header = FindSection(doc, section);
  if (header == doc.lines.size()) {
    header = AppendSection(doc, section);
  } else {
    const std::size_t end = SectionEnd(doc, header);
    for (std::size_t i = header + 1; i < end; ++i) {
      if (doc.lines[i].kind == Kind::Entry && SameNoCase(doc.lines[i].name, name)) {
        doc.lines[i] = Classify(doc.lines[i].name + "=" + value);
        return Save(path, doc);
      }
    }
  }
  const std::size_t at = SectionContentEnd(doc, header);
  doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at), Classify(name + "=" + value));
  return Save(path, doc);
}

bool CProfileFile::DeleteKey(const std::string& path, const std::string& section, const std::string& key) {
  Document doc;
  const LoadResult loaded = Load(path, doc);
  if (loaded != LoadResult::Loaded) return loaded == LoadResult::Missing;
  const std::string name = Trim(key);
  bool changed = false;
  for (std::size_t header = FindSection(doc, section); header < doc.lines.size();
       header = FindSection(doc, section, header + 1)) {
    std::size_t end = SectionEnd(doc, header);
    for (std::size_t i = header + 1; i < end;) {
      if (doc.lines[i].kind == Kind::Entry && SameNoCase(doc.lines[i].name, name)) {
        doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(i));
        --end;
        changed = true;
      } else {
        ++i;
      }
    }
  }
  return changed ? Save(path, doc) : true;
}

bool CProfileFile::DeleteSection(const std::string& path, const std::string& section) {
  Document doc;
  const LoadResult loaded = Load(path, doc);
  if (loaded != LoadResult::Loaded) return loaded == LoadResult::Missing;
  bool changed = false;
  for (std::size_t header = FindSection(doc, section); header < doc.lines.size();
       header = FindSection(doc, section, header)) {
    const std::size_t end = SectionEnd(doc, header);
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(header),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
    changed = true;
  }
  return changed ? Save(path, doc) : true;
}

std::vector<std::string> CProfileFile::ReadSection(const std::string& path, const std::string& section) {
  std::vector<std::string> out;
  Document doc;
  if (Load(path, doc) != LoadResult::Loaded) return out;
  const std::size_t header = FindSection(doc, section);
  if (header == doc.lines.size()) return out;
  const std::size_t end = SectionEnd(doc, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string t = CutAtNul(Trim(doc.lines[i].text));
    if (!t.empty() && t[0] != ';') out.push_back(std::move(t));
  }
  return out;
}

bool CProfileFile::WriteSection(const std::string& path, const std::string& section,
                                const std::vector<std::string>& lines) {
  if (!ValidSection(section)) return false;
  for (const std::string& l : lines) {
    const std::string t = Trim(l);
    if (HasBreak(l) || (!t.empty() && t[0] == '[')) return false;
  }
  Document doc;
  if (!LoadForWrite(path, doc)) return false;
  std::size_t header = FindSection(doc, section);
  if (header == doc.lines.size()) header = AppendSection(doc, section);
  const std::size_t end = SectionContentEnd(doc, header);
  auto first = doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(header + 1),
                               doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
  std::vector<Line> added;
  for (const std::string& l : lines)
    if (!Trim(l).empty()) added.push_back(Classify(Trim(l)));
  doc.lines.insert(first, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  return Save(path, doc);
}

std::vector<std::string> CProfileFile::ReadSectionNames(const std::string& path) {
  std::vector<std::string> out;
  Document doc;
  if (Load(path, doc) != LoadResult::Loaded) return out;
  std::unordered_set<std::string> seen;
  for (const Line& line : doc.lines) {
    if (line.kind != Kind::Header) continue;
    const std::string name = CutAtNul(line.name);
    std::string folded = name;
    for (char& c : folded) c = Lower(c);
    if (seen.insert(std::move(folded)).second) out.push_back(name);
  }
  return out;
}

}  // namespace corvane
