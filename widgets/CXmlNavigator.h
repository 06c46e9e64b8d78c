#pragma once
// Parses XML text held in memory into an element index and walks it with a cursor
// (parent, current, child). Malformed text still yields the elements that were recognised.
// Parsing is one pass with an explicit stack, linear in the text for any input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class XmlProblem {
  None,
  RootHasSibling,
  NoRootElement,
  LoneEndTag,
  UnendedStartTag,
  ExpectingTagName,          // expecting a tag name, "/", "!" or "?"
  ExpectingDoctypeOrCData,   // expecting "DOCTYPE", "[" or "-"
  ExpectingMarkupDecl,       // inside a document type's internal subset
  ExpectingCommentDash,      // "<!-" not followed by "-"
  ExpectingCData,            // "<![" not followed by "CDATA["
  UnterminatedTag,           // the text ends inside markup
  AttributeSyntax,           // a start or end tag broken after its name
  TextTooLarge,
};

struct XmlParseResult {
  XmlProblem problem = XmlProblem::None;
  std::size_t offset = 0;  // of the first problem in the text
  bool WellFormed() const { return problem == XmlProblem::None; }
};

// One record of the element index. Positions are indices into the index, 0 meaning none.
struct XmlElement {
  std::uint32_t offset = 0;          // of '<'
  std::uint32_t length = 0;          // up to the end of its end tag (or where it was closed)
  std::uint32_t nameLength = 0;
  std::uint32_t startTagLength = 0;  // up to and including '>' when there was one
  std::uint32_t parent = 0;
  std::uint32_t firstChild = 0;
  std::uint32_t nextSibling = 0;
};

class CXmlNavigator {
public:
  enum class NodeType { None, Element };
  static constexpr std::size_t kMaxTextBytes = std::size_t(1) << 30;

  CXmlNavigator();

  // Copies and parses the text, resets the cursor; true when the text is well-formed.
  bool LoadText(std::string_view text);
  // Back to the cursor of a freshly loaded text (0, 0, 0) without parsing again.
  void Rewind() { m_nParent = m_nCurrent = m_nChild = 0; }
  // An empty name matches any element.
  bool FindNext(std::string_view name = {});
  bool FindNextChild(std::string_view name = {});
  bool StepIn();
  bool StepOut();
  // The attribute of the element at the child position, entities and character references resolved.
  std::string ChildAttribute(std::string_view name) const;

  std::uint32_t ParentPos() const { return m_nParent; }
  std::uint32_t CurrentPos() const { return m_nCurrent; }
  std::uint32_t ChildPos() const { return m_nChild; }
  NodeType CurrentNodeType() const { return m_nCurrent ? NodeType::Element : NodeType::None; }

  const XmlParseResult& Result() const { return m_result; }
  const std::string& Text() const { return m_strText; }
  const std::vector<XmlElement>& Elements() const { return m_aElements; }  // [0] is the document node
  std::string_view TagName(std::uint32_t pos) const;

  // Resolves the predefined entities, character references and HTML 4 entities of a value;
  // an unknown or broken reference stays as written.
  static std::string DecodeValue(std::string_view raw);

private:
  void Parse();
  bool Matches(std::uint32_t pos, std::string_view name) const;

  std::string m_strText;
  std::vector<XmlElement> m_aElements;
  XmlParseResult m_result;
  std::uint32_t m_nParent = 0;
  std::uint32_t m_nCurrent = 0;
  std::uint32_t m_nChild = 0;
};

}  // namespace corvane
