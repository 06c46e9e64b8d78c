// Walking, attribute lookup and recovery of the XML navigator.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "widgets/CXmlNavigator.h"

namespace corvane {
namespace {

// The element index as nested names: "a(b,c(d))", top-level elements separated by commas.
// Walks with an explicit stack so that deep documents do not recurse.
std::string Shape(const CXmlNavigator& nav) {
  const auto& el = nav.Elements();
  std::string out;
  std::vector<std::uint32_t> stack{el[0].firstChild};
  bool first = true;
  while (!stack.empty()) {
    std::uint32_t& pos = stack.back();
    if (pos == 0) {
      stack.pop_back();
      if (!stack.empty()) {
        out += ')';
        stack.back() = el[stack.back()].nextSibling;
      }
      first = false;
      continue;
    }
    if (!first) out += ',';
    out += nav.TagName(pos);
    first = true;
    if (el[pos].firstChild) {
      out += '(';
      stack.push_back(el[pos].firstChild);
    } else {
      first = false;
      pos = el[pos].nextSibling;
    }
  }
  return out;
}

constexpr const char* kCatalogue =
    "<?xml version=\"1.0\"?>\n"
    "<!-- drivers -->\n"
    "<Root>\n"
    "  <Driver DriverName=\"Driver1\" n='1'><ComInfo PortNumber=\"3\"/></Driver>\n"
    "  <Other DriverName=\"Other\"/>\n"
    "  <driver DriverName=\"lower\"/>\n"
    "  <Driver DriverName=\"Driver2\" n=\"2\"></Driver>\n"
    "</Root>\n";

class XmlNavigatorTest : public ::testing::Test {
protected:
  CXmlNavigator nav;
};

TEST_F(XmlNavigatorTest, FreshNavigatorIsEmpty) {
  EXPECT_EQ(nav.ParentPos(), 0u);
  EXPECT_EQ(nav.CurrentPos(), 0u);
  EXPECT_EQ(nav.ChildPos(), 0u);
  EXPECT_EQ(nav.CurrentNodeType(), CXmlNavigator::NodeType::None);
  EXPECT_FALSE(nav.FindNext());
  EXPECT_FALSE(nav.FindNextChild());
  EXPECT_FALSE(nav.StepIn());
  EXPECT_FALSE(nav.StepOut());
  EXPECT_EQ(nav.ChildAttribute("a"), "");
}

TEST_F(XmlNavigatorTest, FindNextChildWalksMatchingChildrenInOrder) {
  EXPECT_TRUE(nav.LoadText(kCatalogue));
  ASSERT_TRUE(nav.FindNextChild("Driver"));
  EXPECT_EQ(nav.TagName(nav.CurrentPos()), "Root");  // the first search made the top level current
  EXPECT_EQ(nav.CurrentNodeType(), CXmlNavigator::NodeType::Element);
  EXPECT_EQ(nav.ChildAttribute("DriverName"), "Driver1");
  ASSERT_TRUE(nav.FindNextChild("Driver"));  // skips Other and the lower-case driver
  EXPECT_EQ(nav.ChildAttribute("DriverName"), "Driver2");
  const auto cursor = std::tuple(nav.ParentPos(), nav.CurrentPos(), nav.ChildPos());
  EXPECT_FALSE(nav.FindNextChild("Driver"));
  EXPECT_EQ(std::tuple(nav.ParentPos(), nav.CurrentPos(), nav.ChildPos()), cursor);  // unchanged
}

TEST_F(XmlNavigatorTest, NoNameOrEmptyNameMatchesAnyElement) {
  nav.LoadText(kCatalogue);
  std::vector<std::string> seen;
  while (nav.FindNextChild()) seen.push_back(nav.ChildAttribute("DriverName"));
  EXPECT_EQ(seen, (std::vector<std::string>{"Driver1", "Other", "lower", "Driver2"}));
  nav.LoadText(kCatalogue);
  int count = 0;
  while (nav.FindNextChild("")) ++count;
  EXPECT_EQ(count, 4);
}

struct NameRow {
  const char* name;
  int matches;
};

TEST_F(XmlNavigatorTest, NamesMatchExactly) {
  const NameRow rows[] = {{"Driver", 2}, {"driver", 1}, {"DRIVER", 0}, {"Drive", 0}, {"Drivers", 0},
                          {"Other", 1},  {"Root", 0},   {"ComInfo", 0}};
  for (const auto& row : rows) {
    CXmlNavigator fresh;
    fresh.LoadText(kCatalogue);
    int count = 0;
    while (fresh.FindNextChild(row.name)) ++count;
    EXPECT_EQ(count, row.matches) << row.name;
  }
}

TEST_F(XmlNavigatorTest, StepInAndStepOut) {
  nav.LoadText(kCatalogue);
  ASSERT_TRUE(nav.FindNextChild("Driver"));
  const auto root = nav.CurrentPos();
  const auto driver = nav.ChildPos();
  ASSERT_TRUE(nav.StepIn());
  EXPECT_EQ(nav.ParentPos(), root);
  EXPECT_EQ(nav.CurrentPos(), driver);
  EXPECT_EQ(nav.ChildPos(), 0u);
  ASSERT_TRUE(nav.FindNextChild("ComInfo"));
  EXPECT_EQ(nav.ChildAttribute("PortNumber"), "3");
  EXPECT_FALSE(nav.FindNextChild("ComInfo"));

  ASSERT_TRUE(nav.StepOut());
  EXPECT_EQ(nav.ParentPos(), 0u);
  EXPECT_EQ(nav.CurrentPos(), root);
  EXPECT_EQ(nav.ChildPos(), driver);
  EXPECT_EQ(nav.ChildAttribute("DriverName"), "Driver1");
  ASSERT_TRUE(nav.FindNextChild("Driver"));  // carries on after the child we came out of
  EXPECT_EQ(nav.ChildAttribute("DriverName"), "Driver2");
  ASSERT_TRUE(nav.StepOut() == false);  // the parent is the document node
}

TEST_F(XmlNavigatorTest, StepInWithoutChildStillSucceeds) {
  nav.LoadText("<a><b/></a>");
  ASSERT_TRUE(nav.FindNext("a"));
  ASSERT_TRUE(nav.StepIn());
  EXPECT_NE(nav.ParentPos(), 0u);
  EXPECT_EQ(nav.CurrentPos(), 0u);
  EXPECT_TRUE(nav.FindNext("b"));  // searches the children of a from the first
  EXPECT_EQ(nav.TagName(nav.CurrentPos()), "b");
  EXPECT_FALSE(nav.StepIn() && nav.FindNextChild());  // b has no children
}

TEST_F(XmlNavigatorTest, FindNextWalksSiblingsUnderTheParent) {
  nav.LoadText("<r><a/><b/><a/></r>");
  ASSERT_TRUE(nav.FindNext("r"));
  ASSERT_TRUE(nav.StepIn());
  ASSERT_TRUE(nav.FindNext("a"));
  const auto firstA = nav.CurrentPos();
  ASSERT_TRUE(nav.FindNext("a"));
  EXPECT_NE(nav.CurrentPos(), firstA);
  EXPECT_FALSE(nav.FindNext("b"));  // the search starts after the current element
}

TEST_F(XmlNavigatorTest, LoadTextResetsTheCursor) {
  nav.LoadText(kCatalogue);
  ASSERT_TRUE(nav.FindNextChild("Driver"));
  ASSERT_TRUE(nav.StepIn());
  nav.LoadText("<x><y k='v'/></x>");
  EXPECT_EQ(nav.ParentPos(), 0u);
  EXPECT_EQ(nav.CurrentPos(), 0u);
  EXPECT_EQ(nav.ChildPos(), 0u);
  ASSERT_TRUE(nav.FindNextChild());
  EXPECT_EQ(nav.ChildAttribute("k"), "v");
}

struct AttributeRow {
  const char* tag;
  const char* name;
  const char* value;
};

TEST_F(XmlNavigatorTest, ChildAttributeTable) {
  const AttributeRow rows[] = {
      {"<c a=\"1\"/>", "a", "1"},
      {"<c a='1'/>", "a", "1"},
      {"<c a = \"1\" />", "a", "1"},
      {"<c\ta\n=\r'1'></c>", "a", "1"},
      {"<c a=\"it's\"/>", "a", "it's"},
      {"<c a='say \"hi\"'/>", "a", "say \"hi\""},
      {"<c a=\"\"/>", "a", ""},
      {"<c a=\"1\"/>", "b", ""},
      {"<c a=\"1\"/>", "", ""},
      {"<c a=\"1\"/>", "A", ""},
      {"<c ab=\"1\" a=\"2\"/>", "a", "2"},
      {"<c a=\"1\" a=\"2\"/>", "a", "1"},              // the first wins
      {"<c x=\"a=&quot;9&quot;\" a=\"3\"/>", "a", "3"},  // names inside values are not attributes
      {"<c a=\"x&amp;y\"/>", "a", "x&y"},
      {"<c a=\"&eacute;&nbsp;&euro;\"/>", "a", "\xC3\xA9\xC2\xA0\xE2\x82\xAC"},
      {"<c a=\"&#72;&#x69;\"/>", "a", "Hi"},
      {"<c a=\"&bogus;\"/>", "a", "&bogus;"},
      {"<c a=\"1\" b=2/>", "a", "1"},  // what came before the broken part stays readable
      {"<c a=\"1\" b=2/>", "b", ""},
      {"<c a=\"1\"b=\"2\"/>", "b", ""},  // no blank before b: the tag ends there
  };
  for (const auto& row : rows) {
    CXmlNavigator fresh;
    fresh.LoadText(std::string("<r>") + row.tag + "</r>");
    ASSERT_TRUE(fresh.FindNextChild("c")) << row.tag;
    EXPECT_EQ(fresh.ChildAttribute(row.name), row.value) << row.tag << " " << row.name;
  }
}

TEST_F(XmlNavigatorTest, ChildAttributeNeedsAChildPosition) {
  nav.LoadText("<r a='1'><c a='2'/></r>");
  EXPECT_EQ(nav.ChildAttribute("a"), "");
  ASSERT_TRUE(nav.FindNext());
  EXPECT_EQ(nav.ChildAttribute("a"), "");  // the current element's attributes are not the child's
  ASSERT_TRUE(nav.FindNextChild());
  EXPECT_EQ(nav.ChildAttribute("a"), "2");
}

struct ParseRow {
  const char* text;
  bool wellFormed;
  XmlProblem problem;
  const char* shape;
};

TEST_F(XmlNavigatorTest, ParseTable) {
  const ParseRow rows[] = {
      {"", false, XmlProblem::NoRootElement, ""},
      {"just text", false, XmlProblem::NoRootElement, ""},
      {"<!-- only --><?pi?>", false, XmlProblem::NoRootElement, ""},
      {"<a/>", true, XmlProblem::None, "a"},
      {"<a></a>", true, XmlProblem::None, "a"},
      {"<a><b/><c><d/></c></a>", true, XmlProblem::None, "a(b,c(d))"},
      {"<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA '<b>'><!-- <c/> --><?p <d/>?>"
       "%pe;]><a/>",
       true, XmlProblem::None, "a"},
      {"<!DOCTYPE a SYSTEM \"x>y.dtd\"><a/>", true, XmlProblem::None, "a"},
      {"<a><!-- <b/> --><![CDATA[<c/>]]><?x <d/>?>text &amp; more<e/></a>", true, XmlProblem::None, "a(e)"},
      {"<a:b.c-d_e/>", true, XmlProblem::None, "a:b.c-d_e"},
      {"<a>x > y</a>", true, XmlProblem::None, "a"},
      {"<a/><b/>", false, XmlProblem::RootHasSibling, "a,b"},
      {"<a><b></a>", false, XmlProblem::UnendedStartTag, "a(b)"},
      {"<a><b>", false, XmlProblem::UnendedStartTag, "a(b)"},
      {"<a></b></a>", false, XmlProblem::LoneEndTag, "a"},
      {"</b><a/>", false, XmlProblem::LoneEndTag, "a"},
      {"<a><a><b></a>x<c/></a>", false, XmlProblem::UnendedStartTag, "a(a(b),c)"},  // innermost a closes
      {"<a>< b/></a>", false, XmlProblem::ExpectingTagName, "a"},
      {"<a><1/></a>", false, XmlProblem::ExpectingTagName, "a"},
      {"<a></ ></a>", false, XmlProblem::ExpectingTagName, "a"},
      {"<a><!x></a>", false, XmlProblem::ExpectingDoctypeOrCData, "a"},
      {"<a><!-x-></a>", false, XmlProblem::ExpectingCommentDash, "a"},
      {"<a><![CDAT[x]]></a>", false, XmlProblem::ExpectingCData, "a"},
      {"<!DOCTYPE a [<x>]><a/>", false, XmlProblem::ExpectingMarkupDecl, "a"},
      {"<a><!-- open", false, XmlProblem::UnterminatedTag, "a"},
      {"<!-- open", false, XmlProblem::UnterminatedTag, ""},
      {"<a/><![CDATA[ open", false, XmlProblem::UnterminatedTag, "a"},
      {"<a/><?pi", false, XmlProblem::UnterminatedTag, "a"},
      {"<a/><!DOCTYPE [ x", false, XmlProblem::UnterminatedTag, "a"},
      {"<a/><", false, XmlProblem::UnterminatedTag, "a"},
      {"<a/></", false, XmlProblem::UnterminatedTag, "a"},
      {"<a x='1", false, XmlProblem::UnterminatedTag, "a"},
      {"<a x", false, XmlProblem::UnterminatedTag, "a"},
      {"<a><b x=1/><c/></a>", false, XmlProblem::AttributeSyntax, "a(b(c))"},
      {"<a><b<c/></b></a>", false, XmlProblem::AttributeSyntax, "a(b(c))"},
      {"<a></a x>", false, XmlProblem::AttributeSyntax, "a"},
      {"<a/ ><b/>", false, XmlProblem::AttributeSyntax, "a(b)"},
  };
  for (const auto& row : rows) {
    CXmlNavigator fresh;
    EXPECT_EQ(fresh.LoadText(row.text), row.wellFormed) << row.text;
    EXPECT_EQ(fresh.Result().problem, row.problem) << row.text;
    EXPECT_EQ(Shape(fresh), row.shape) << row.text;
  }
}

TEST_F(XmlNavigatorTest, ProblemOffsetIsTheFirstProblem) {
  nav.LoadText("<a></b><c></a>");
  EXPECT_EQ(nav.Result().problem, XmlProblem::LoneEndTag);
  EXPECT_EQ(nav.Result().offset, 3u);
}

TEST_F(XmlNavigatorTest, EmptyOrElementlessTextFindsNothing) {
  for (const char* text : {"", "   ", "text only", "<!-- c -->", "<?xml version='1.0'?>", "</a>", "< >"}) {
    CXmlNavigator fresh;
    fresh.LoadText(text);
    EXPECT_FALSE(fresh.FindNext()) << text;
    EXPECT_FALSE(fresh.FindNextChild()) << text;
    EXPECT_FALSE(fresh.FindNextChild("Driver")) << text;
    EXPECT_FALSE(fresh.StepOut()) << text;
    EXPECT_EQ(fresh.ChildAttribute("DriverName"), "") << text;
  }
}

TEST_F(XmlNavigatorTest, TwoTopLevelElementsStillNavigateTheFirst) {
  EXPECT_FALSE(nav.LoadText("<a><Driver DriverName='x'/></a><b><Driver DriverName='y'/></b>"));
  ASSERT_TRUE(nav.FindNextChild("Driver"));
  EXPECT_EQ(nav.ChildAttribute("DriverName"), "x");
  EXPECT_FALSE(nav.FindNextChild("Driver"));
  ASSERT_TRUE(nav.FindNext());  // the second top-level element is a sibling
  EXPECT_EQ(nav.TagName(nav.CurrentPos()), "b");
}

TEST_F(XmlNavigatorTest, UnclosedCatalogueStillNavigable) {
  EXPECT_FALSE(nav.LoadText("<Root><Driver DriverName='Driver1'><ComInfo PortNumber='4'>"));
  ASSERT_TRUE(nav.FindNextChild("Driver"));
  ASSERT_TRUE(nav.StepIn());
  ASSERT_TRUE(nav.FindNextChild("ComInfo"));
  EXPECT_EQ(nav.ChildAttribute("PortNumber"), "4");
}

TEST_F(XmlNavigatorTest, ElementRecordsSpanTheirText) {
  const std::string text = "<r><a k='v'>x</a><b/></r>";
  nav.LoadText(text);
  const auto& el = nav.Elements();
  ASSERT_EQ(el.size(), 4u);
  EXPECT_EQ(text.substr(el[1].offset, el[1].length), text);
  EXPECT_EQ(text.substr(el[2].offset, el[2].length), "<a k='v'>x</a>");
  EXPECT_EQ(text.substr(el[2].offset, el[2].startTagLength), "<a k='v'>");
  EXPECT_EQ(text.substr(el[3].offset, el[3].length), "<b/>");
  EXPECT_EQ(el[2].parent, 1u);
  EXPECT_EQ(el[1].firstChild, 2u);
  EXPECT_EQ(el[2].nextSibling, 3u);
  EXPECT_EQ(el[0].firstChild, 1u);
}

TEST_F(XmlNavigatorTest, DeepNestingDoesNotOverflowTheStack) {
  constexpr int kDepth = 100000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<d>";
  text += "<leaf v='1'/>";
  for (int i = 0; i < kDepth; ++i) text += "</d>";
  EXPECT_TRUE(nav.LoadText(text));
  ASSERT_EQ(nav.Elements().size(), kDepth + 2u);
  ASSERT_TRUE(nav.FindNextChild("d"));
  for (int i = 1; i < kDepth - 1; ++i) {
    ASSERT_TRUE(nav.StepIn());
    ASSERT_TRUE(nav.FindNextChild("d"));
  }
  ASSERT_TRUE(nav.StepIn());
  ASSERT_TRUE(nav.FindNextChild("leaf"));
  EXPECT_EQ(nav.ChildAttribute("v"), "1");
  int outs = 0;
  while (nav.StepOut()) ++outs;
  EXPECT_EQ(outs, kDepth - 1);
}

// Inputs that make naive parsers quadratic. Each is timed against a plain document of about
// the same size measured in the same run: linear work stays within a small factor of it,
// quadratic work on 100,000 elements is thousands of times slower. A ratio, not an absolute
// time, so that sanitizer builds and a busy machine do not matter.
std::string Pathological(int kind, int n) {
  std::string text;
  switch (kind) {
    case 0:  // many open elements, then end tags that close none of them
      for (int i = 0; i < n; ++i) text += "<a>";
      for (int i = 0; i < n; ++i) text += "</b>";
      break;
    case 1:  // distinct names left open, then lone end tags
      for (int i = 0; i < n; ++i) text += "<e" + std::to_string(i) + ">";
      for (int i = 0; i < n; ++i) text += "</x>";
      break;
    case 2:  // a huge flat catalogue
      text = "<r>";
      for (int i = 0; i < n; ++i) text += "<Driver DriverName='Driver" + std::to_string(i) + "'/>";
      text += "</r>";
      break;
    case 3:  // broken attributes, one after another
      for (int i = 0; i < n; ++i) text += "<a b=";
      break;
    case 4:  // an attribute of ampersands that never form a reference
      text = "<r><a v='" + std::string(std::size_t(n) * 8, '&') + "&#" + std::string(std::size_t(n), '9') + "'/></r>";
      break;
    default:  // end tags that each close a long run of open elements
      for (int i = 0; i < n / 10; ++i) {
        text += "<q>";
        for (int j = 0; j < 10; ++j) text += "<a>";
        text += "</q>";
      }
      break;
  }
  return text;
}

double SecondsToWalk(const std::string& text) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    CXmlNavigator nav;
    nav.LoadText(text);
    while (nav.FindNextChild()) (void)nav.ChildAttribute("v");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

TEST_F(XmlNavigatorTest, PathologicalInputsStayLinear) {
  constexpr int kN = 100000;
  for (int kind = 0; kind < 6; ++kind) {
    const std::string text = Pathological(kind, kN);
    std::string plain = "<r>";
    while (plain.size() + 12 < text.size()) plain += "<a k='v'></a>";
    plain += "</r>";
    const double baseline = SecondsToWalk(plain);
    const double took = SecondsToWalk(text);
    EXPECT_LT(took, 50 * baseline + 0.01) << "kind " << kind << ": " << took << " s against " << baseline << " s";
  }
}

TEST_F(XmlNavigatorTest, HugeFlatCatalogueWalksEveryDriver) {
  constexpr int kN = 200000;
  nav.LoadText(Pathological(2, kN));
  int count = 0;
  std::string last;
  while (nav.FindNextChild("Driver")) {
    ++count;
    if (count == kN) last = nav.ChildAttribute("DriverName");
  }
  EXPECT_EQ(count, kN);
  EXPECT_EQ(last, "Driver" + std::to_string(kN - 1));
}

TEST_F(XmlNavigatorTest, ManyUnclosedTagsCloseInOnePass) {
  constexpr int kN = 100000;
  std::string text = "<r>";
  for (int i = 0; i < kN; ++i) text += "<a>";
  text += "</r><z/>";
  EXPECT_FALSE(nav.LoadText(text));
  EXPECT_EQ(nav.Result().problem, XmlProblem::UnendedStartTag);
  ASSERT_TRUE(nav.FindNext("r"));
  EXPECT_TRUE(nav.FindNext("z"));  // r was closed by its end tag, z is its sibling
}

}  // namespace
}  // namespace corvane
