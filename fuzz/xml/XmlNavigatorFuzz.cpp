// Feeds arbitrary text to the navigator, checks the element index is consistent, then walks
// every element with the cursor and reads attributes. Aborts on any broken invariant.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/CUtf8.h"
#include "widgets/CXmlNavigator.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckIndex(const corvane::CXmlNavigator& nav) {
  const auto& el = nav.Elements();
  const std::size_t size = nav.Text().size();
  Check(!el.empty());
  std::size_t linked = 0;
  for (std::uint32_t pos = 0; pos < el.size(); ++pos) {
    const auto& e = el[pos];
    Check(e.parent < el.size() && e.firstChild < el.size() && e.nextSibling < el.size());
    if (pos == 0) continue;
    Check(e.parent < pos);  // a parent always comes first in document order
    Check(std::size_t(e.offset) + e.length <= size);
    Check(e.startTagLength <= e.length && e.nameLength + 1 <= e.startTagLength);
    Check(nav.Text()[e.offset] == '<');
    if (e.firstChild) Check(el[e.firstChild].parent == pos && e.firstChild > pos);
    if (e.nextSibling) Check(el[e.nextSibling].parent == e.parent && e.nextSibling > pos);
  }
  // Every element is reached exactly once from the document node through child lists.
  std::vector<std::uint32_t> stack{0};
  while (!stack.empty()) {
    const std::uint32_t pos = stack.back();
    stack.pop_back();
    for (std::uint32_t c = el[pos].firstChild; c; c = el[c].nextSibling) {
      ++linked;
      Check(linked < el.size());
      stack.push_back(c);
    }
  }
  Check(linked == el.size() - 1);
}

// Depth-first walk with the cursor alone: FindNextChild, StepIn, StepOut.
void Walk(corvane::CXmlNavigator& nav, std::string_view attrName) {
  std::size_t visited = 0;
  const std::size_t limit = nav.Elements().size() * 4 + 16;
  if (!nav.FindNext()) return;
  for (std::size_t steps = 0; steps < limit; ++steps) {
    if (nav.FindNextChild()) {
      ++visited;
      std::string value = nav.ChildAttribute(attrName);
      Check(value.size() <= nav.Text().size());  // decoding never lengthens a value
      Check(nav.StepIn());
    } else if (!nav.StepOut()) {
      break;
    }
  }
  Check(visited < nav.Elements().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  corvane::CXmlNavigator nav;
  const bool wellFormed = nav.LoadText(text);
  Check(wellFormed == nav.Result().WellFormed());
  Check(nav.Result().offset <= size);
  CheckIndex(nav);

  // Attribute names taken from the input itself so that the fuzzer can hit real ones.
  std::string_view attrName = "a";
  if (size > 2) attrName = text.substr(0, std::min<std::size_t>(size % 7 + 1, size));
  Walk(nav, attrName);
  nav.Rewind();
  while (nav.FindNextChild("Driver")) nav.ChildAttribute("DriverName");

  (void)corvane::CXmlNavigator::DecodeValue(text);
  const std::string utf8 = corvane::CUtf8::FromUtf16Le(data, size);
  corvane::CXmlNavigator wide;
  wide.LoadText(utf8);
  CheckIndex(wide);
  return 0;
}
