#include "widgets/CXmlNavigator.h"

#include <cstring>
#include <limits>
#include <unordered_map>

#include "widgets/CHtmlEntities.h"
#include "widgets/CUtf8.h"

namespace corvane {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsAsciiAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return IsAsciiAlpha(c) || c == '_' || c == ':' || c >= 0x80;
}
bool IsNameChar(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return IsNameStart(ch) || IsDigit(c) || c == '-' || c == '.';
}

enum class TagEnd { Open, Empty, Broken, Unterminated, Stopped };
struct TagScan {
  TagEnd how;
  std::size_t pos;  // after '>' for Open and Empty, the offending position otherwise
};

// Walks the attributes of a start tag from just after its name. The visitor gets each
// name and raw value and returns true to stop. Shared by the parser and the lookup so that
// both agree on where a tag ends.
template <class Visitor>
TagScan ScanAttributes(std::string_view t, std::size_t i, Visitor&& visit) {
  const std::size_t n = t.size();
  for (;;) {
    const std::size_t before = i;
    while (i < n && IsSpace(t[i])) ++i;
    if (i >= n) return {TagEnd::Unterminated, n};
    if (t[i] == '>') return {TagEnd::Open, i + 1};
    if (t[i] == '/') {
      if (i + 1 >= n) return {TagEnd::Unterminated, n};
      if (t[i + 1] == '>') return {TagEnd::Empty, i + 2};
      return {TagEnd::Broken, i};
    }
    if (i == before || !IsNameStart(t[i])) return {TagEnd::Broken, i};  // attributes need a blank before them
    const std::size_t nameStart = i;
    while (i < n && IsNameChar(t[i])) ++i;
    const std::string_view name = t.substr(nameStart, i - nameStart);
    while (i < n && IsSpace(t[i])) ++i;
    if (i >= n) return {TagEnd::Unterminated, n};
    if (t[i] != '=') return {TagEnd::Broken, i};
    ++i;
    while (i < n && IsSpace(t[i])) ++i;
    if (i >= n) return {TagEnd::Unterminated, n};
    const char quote = t[i];
    if (quote != '"' && quote != '\'') return {TagEnd::Broken, i};
    const std::size_t valueStart = i + 1;
    const std::size_t valueEnd = t.find(quote, valueStart);
    if (valueEnd == npos) return {TagEnd::Unterminated, n};
    if (visit(name, t.substr(valueStart, valueEnd - valueStart))) return {TagEnd::Stopped, valueEnd + 1};
    i = valueEnd + 1;
  }
}

enum class Prefix { Yes, No, Partial };
// Whether lit stands at t[i]; Partial when the text ends inside a match.
Prefix PrefixAt(std::string_view t, std::size_t i, std::string_view lit) {
  const std::size_t avail = t.size() - i;
  if (avail >= lit.size()) return t.compare(i, lit.size(), lit) == 0 ? Prefix::Yes : Prefix::No;
  return t.compare(i, avail, lit.substr(0, avail)) == 0 ? Prefix::Partial : Prefix::No;
}

// One pass over the text. Open elements sit on an explicit stack; per name, the innermost
// open element of that name is found through a map and a chain of older ones, so closing an
// end tag costs O(1) plus the elements it closes implicitly (each closed once).
class CParser {
public:
  CParser(std::string_view text, std::vector<XmlElement>& elements, XmlParseResult& result)
      : t(text), n(text.size()), m_elements(elements), m_result(result) {}

  void Run() {
    m_lastChild.assign(1, 0);
    std::size_t i = 0;
    while (i < n) {
      const void* hit = std::memchr(t.data() + i, '<', n - i);
      if (!hit) break;
      const std::size_t lt = static_cast<const char*>(hit) - t.data();
      if (lt + 1 >= n) {
        Fail(XmlProblem::UnterminatedTag, lt);
        break;
      }
      const char c = t[lt + 1];
      std::size_t next;
      if (c == '/') next = EndTag(lt);
      else if (c == '?') next = SkipPast(lt, lt + 2, "?>");
      else if (c == '!') next = Bang(lt);
      else if (IsNameStart(c)) next = StartTag(lt);
      else {
        Fail(XmlProblem::ExpectingTagName, lt + 1);
        next = lt + 1;
      }
      if (next == npos) break;  // the text ended inside markup
      i = next;
    }
    if (!m_open.empty()) Fail(XmlProblem::UnendedStartTag, m_elements[m_open.front().element].offset);
    if (m_topLevel == 0) Fail(XmlProblem::NoRootElement, 0);
  }

private:
  struct Open {
    std::uint32_t element;
    std::int64_t olderSameName;  // stack depth of the next outer open element of this name, -1 none
  };

  void Fail(XmlProblem kind, std::size_t at) {
    if (m_result.problem == XmlProblem::None) m_result = {kind, at};
  }

  std::string_view NameOf(std::uint32_t pos) const {
    const XmlElement& e = m_elements[pos];
    return t.substr(e.offset + 1, e.nameLength);
  }

  // Position after the terminator searched from `from`, or npos (recorded) when the text ends first.
  std::size_t SkipPast(std::size_t lt, std::size_t from, std::string_view terminator) {
    const std::size_t end = from <= n ? t.find(terminator, from) : npos;
    if (end == npos) {
      Fail(XmlProblem::UnterminatedTag, lt);
      return npos;
    }
    return end + terminator.size();
  }

  std::size_t Bang(std::size_t lt) {
    switch (PrefixAt(t, lt, "<!--")) {
      case Prefix::Yes: return SkipPast(lt, lt + 4, "-->");
      case Prefix::Partial: return SkipPast(lt, n, "-->");
      case Prefix::No: break;
    }
    if (PrefixAt(t, lt, "<!-") == Prefix::Yes) {
      Fail(XmlProblem::ExpectingCommentDash, lt + 3);
      return lt + 3;
    }
    if (PrefixAt(t, lt, "<![") == Prefix::Yes) {
      switch (PrefixAt(t, lt, "<![CDATA[")) {
        case Prefix::Yes: return SkipPast(lt, lt + 9, "]]>");
        case Prefix::Partial: return SkipPast(lt, n, "]]>");
        case Prefix::No: Fail(XmlProblem::ExpectingCData, lt + 3); return lt + 3;
      }
    }
    switch (PrefixAt(t, lt, "<!DOCTYPE")) {
      case Prefix::Yes: return Doctype(lt);
      case Prefix::Partial: return SkipPast(lt, n, ">");
      case Prefix::No: break;
    }
    Fail(XmlProblem::ExpectingDoctypeOrCData, lt + 2);
    return lt + 2;
  }

  // Skips a quoted literal starting at t[j]; npos when it never ends.
  std::size_t SkipQuoted(std::size_t j) const {
    const std::size_t end = t.find(t[j], j + 1);
    return end == npos ? npos : end + 1;
  }

  std::size_t Doctype(std::size_t lt) {
    std::size_t j = lt + 9;
    while (j < n) {
      const char c = t[j];
      if (c == '"' || c == '\'') {
        j = SkipQuoted(j);
        if (j == npos) break;
      } else if (c == '[') {
        j = Subset(lt, j + 1);
        if (j == npos) break;
      } else if (c == '>') {
        return j + 1;
      } else {
        ++j;
      }
    }
    Fail(XmlProblem::UnterminatedTag, lt);
    return npos;
  }

  // The internal subset: markup declarations, comments, processing instructions and
  // parameter-entity references up to ']'. Returns the position after ']'.
  std::size_t Subset(std::size_t lt, std::size_t j) {
    while (j < n) {
      const char c = t[j];
      if (c == ']') return j + 1;
      if (c != '<') {
        ++j;
        continue;
      }
      if (PrefixAt(t, j, "<!--") == Prefix::Yes) {
        const std::size_t end = t.find("-->", j + 4);
        if (end == npos) break;
        j = end + 3;
      } else if (PrefixAt(t, j, "<?") == Prefix::Yes) {
        const std::size_t end = t.find("?>", j + 2);
        if (end == npos) break;
        j = end + 2;
      } else if (j + 2 < n && t[j + 1] == '!' && IsAsciiAlpha(static_cast<unsigned char>(t[j + 2]))) {
        j += 2;  // <!ELEMENT, <!ATTLIST, <!ENTITY, <!NOTATION: up to '>' outside literals
        while (j < n && t[j] != '>') {
          if (t[j] == '"' || t[j] == '\'') {
            j = SkipQuoted(j);
            if (j == npos) break;
          } else {
            ++j;
          }
        }
        if (j == npos || j >= n) break;
        ++j;
      } else {
        Fail(XmlProblem::ExpectingMarkupDecl, j);
        ++j;
      }
    }
    Fail(XmlProblem::UnterminatedTag, lt);
    return npos;
  }

  std::size_t StartTag(std::size_t lt) {
    std::size_t j = lt + 1;
    while (j < n && IsNameChar(t[j])) ++j;
    const TagScan scan = ScanAttributes(t, j, [](std::string_view, std::string_view) { return false; });

    const auto pos = static_cast<std::uint32_t>(m_elements.size());
    const std::uint32_t parent = m_open.empty() ? 0 : m_open.back().element;
    XmlElement e;
    e.offset = static_cast<std::uint32_t>(lt);
    e.nameLength = static_cast<std::uint32_t>(j - lt - 1);
    e.startTagLength = static_cast<std::uint32_t>(scan.pos - lt);
    e.length = scan.how == TagEnd::Empty ? e.startTagLength : static_cast<std::uint32_t>(n - lt);
    e.parent = parent;
    m_elements.push_back(e);
    m_lastChild.push_back(0);
    if (m_lastChild[parent]) m_elements[m_lastChild[parent]].nextSibling = pos;
    else m_elements[parent].firstChild = pos;
    m_lastChild[parent] = pos;
    if (parent == 0 && ++m_topLevel == 2) Fail(XmlProblem::RootHasSibling, lt);

    if (scan.how == TagEnd::Broken) Fail(XmlProblem::AttributeSyntax, scan.pos);
    if (scan.how == TagEnd::Unterminated) Fail(XmlProblem::UnterminatedTag, lt);
    if (scan.how != TagEnd::Empty) Push(pos);
    return scan.how == TagEnd::Unterminated ? npos : scan.pos;
  }

  void Push(std::uint32_t pos) {
    auto [it, fresh] = m_byName.try_emplace(NameOf(pos), -1);
    m_open.push_back({pos, it->second});
    it->second = static_cast<std::int64_t>(m_open.size() - 1);
  }

  void Pop(std::size_t endOffset) {
    const Open top = m_open.back();
    m_open.pop_back();
    XmlElement& e = m_elements[top.element];
    e.length = static_cast<std::uint32_t>(endOffset - e.offset);
    auto it = m_byName.find(NameOf(top.element));
    if (top.olderSameName < 0) m_byName.erase(it);
    else it->second = top.olderSameName;
  }

  std::size_t EndTag(std::size_t lt) {
    std::size_t j = lt + 2;
    const std::size_t nameStart = j;
    while (j < n && IsNameChar(t[j])) ++j;
    if (j == nameStart) {
      Fail(j >= n ? XmlProblem::UnterminatedTag : XmlProblem::ExpectingTagName, j);
      return j >= n ? npos : j;
    }
    const std::string_view name = t.substr(nameStart, j - nameStart);
    while (j < n && IsSpace(t[j])) ++j;
    std::size_t next;
    if (j >= n) {
      Fail(XmlProblem::UnterminatedTag, lt);
      next = npos;
    } else if (t[j] != '>') {
      Fail(XmlProblem::AttributeSyntax, j);
      next = j;
    } else {
      next = j + 1;
    }
    const std::size_t endOffset = next == npos ? n : next;
    auto it = m_byName.find(name);
    if (it == m_byName.end()) {
      Fail(XmlProblem::LoneEndTag, lt);
      return next;
    }
    const auto depth = static_cast<std::size_t>(it->second);
    while (m_open.size() > depth + 1) {  // inner elements left open end where this end tag starts
      Fail(XmlProblem::UnendedStartTag, m_elements[m_open.back().element].offset);
      Pop(lt);
    }
    Pop(endOffset);
    return next;
  }

  std::string_view t;
  const std::size_t n;
  std::vector<XmlElement>& m_elements;
  XmlParseResult& m_result;
  std::vector<std::uint32_t> m_lastChild;
  std::vector<Open> m_open;
  std::unordered_map<std::string_view, std::int64_t> m_byName;
  std::size_t m_topLevel = 0;
};

bool AppendReference(std::string& out, std::string_view raw, std::size_t& i) {
  // raw[i] == '&'; on success appends the character and moves i past ';'.
  const std::size_t size = raw.size();
  std::size_t j = i + 1;
  if (j < size && raw[j] == '#') {
    ++j;
    unsigned base = 10;
    if (j < size && (raw[j] == 'x' || raw[j] == 'X')) {
      base = 16;
      ++j;
    }
    const std::size_t digitsStart = j;
    char32_t value = 0;
    for (; j < size; ++j) {
      const auto c = static_cast<unsigned char>(raw[j]);
      unsigned d;
      if (IsDigit(c)) d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      value = value * base + d;
      if (value > 0x10FFFF) value = 0x110000;  // saturate: invalid either way
    }
    if (j == digitsStart || j >= size || raw[j] != ';' || value == 0 || !CUtf8::IsScalar(value)) return false;
    CUtf8::Append(out, value);
    i = j + 1;
    return true;
  }
  const std::size_t nameStart = j;
  while (j < size && j - nameStart <= CHtmlEntities::kMaxNameLength &&
         (IsAsciiAlpha(static_cast<unsigned char>(raw[j])) || IsDigit(static_cast<unsigned char>(raw[j]))))
    ++j;
  if (j >= size || raw[j] != ';' || j == nameStart) return false;
  const std::string_view name = raw.substr(nameStart, j - nameStart);
  char32_t cp;
  if (name == "apos") {
    cp = '\'';
  } else if (auto found = CHtmlEntities::Lookup(name)) {
    cp = *found;  // also lt, gt, amp and quot
  } else {
    return false;
  }
  CUtf8::Append(out, cp);
  i = j + 1;
  return true;
}

}  // namespace

CXmlNavigator::CXmlNavigator() : m_aElements(1) {}

bool CXmlNavigator::LoadText(std::string_view text) {
  m_nParent = m_nCurrent = m_nChild = 0;
  m_aElements.assign(1, XmlElement{});
  m_result = {};
  if (text.size() > kMaxTextBytes) {
    m_strText.clear();
    m_result = {XmlProblem::TextTooLarge, kMaxTextBytes};
    return false;
  }
  m_strText.assign(text);
  m_aElements[0].length = static_cast<std::uint32_t>(m_strText.size());
  Parse();
  return m_result.WellFormed();
}

void CXmlNavigator::Parse() { CParser(m_strText, m_aElements, m_result).Run(); }

std::string_view CXmlNavigator::TagName(std::uint32_t pos) const {
  if (pos == 0 || pos >= m_aElements.size()) return {};
  const XmlElement& e = m_aElements[pos];
  return std::string_view(m_strText).substr(e.offset + 1, e.nameLength);
}

bool CXmlNavigator::Matches(std::uint32_t pos, std::string_view name) const {
  return name.empty() || TagName(pos) == name;
}

bool CXmlNavigator::FindNext(std::string_view name) {
  std::uint32_t pos = m_nCurrent ? m_aElements[m_nCurrent].nextSibling : m_aElements[m_nParent].firstChild;
  for (; pos; pos = m_aElements[pos].nextSibling) {
    if (Matches(pos, name)) {
      m_nCurrent = pos;
      m_nChild = 0;
      return true;
    }
  }
  return false;
}

bool CXmlNavigator::FindNextChild(std::string_view name) {
  if (m_nCurrent == 0 && !FindNext()) return false;
  std::uint32_t pos = m_nChild ? m_aElements[m_nChild].nextSibling : m_aElements[m_nCurrent].firstChild;
  for (; pos; pos = m_aElements[pos].nextSibling) {
    if (Matches(pos, name)) {
      m_nChild = pos;
      return true;
    }
  }
  return false;
}

bool CXmlNavigator::StepIn() {
  if (m_nCurrent == 0) return false;
  m_nParent = m_nCurrent;
  m_nCurrent = m_nChild;
  m_nChild = 0;
  return true;
}

bool CXmlNavigator::StepOut() {
  if (m_nParent == 0) return false;
  m_nChild = m_nCurrent;
  m_nCurrent = m_nParent;
  m_nParent = m_aElements[m_nParent].parent;
  return true;
}

std::string CXmlNavigator::ChildAttribute(std::string_view name) const {
  if (m_nChild == 0 || name.empty()) return {};
  const XmlElement& e = m_aElements[m_nChild];
  const std::string_view tag = std::string_view(m_strText).substr(0, e.offset + e.startTagLength);
  std::string value;
  ScanAttributes(tag, e.offset + 1 + e.nameLength, [&](std::string_view attr, std::string_view raw) {
    if (attr != name) return false;
    value = DecodeValue(raw);
    return true;
  });
  return value;
}

std::string CXmlNavigator::DecodeValue(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  std::size_t i = 0;
  while (i < raw.size()) {
    const std::size_t amp = raw.find('&', i);
    if (amp == npos) {
      out.append(raw.substr(i));
      break;
    }
    out.append(raw.substr(i, amp - i));
    i = amp;
    if (!AppendReference(out, raw, i)) {
      out.push_back('&');
      ++i;
    }
  }
  return out;
}

}  // namespace corvane
