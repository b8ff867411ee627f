#include "facebook/FBXMLHandler.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/xml/XmlParser.h"
#include "tests/facebook/FBTestSupport.h"

namespace {

using testing_support::render;

// Forty members in reverse order, "m05" given twice: the later one counts.
std::string manyMembers(bool expected) {
  std::string document = "<r>", value;
  for (int i = 39; i >= 0; --i) {
    const std::string name = (i < 10 ? "m0" : "m") + std::to_string(i);
    document += "<" + name + ">" + (i == 5 ? "earlier" : std::to_string(i)) + "</" + name + ">";
    value =
        name + ":\"" + (i == 5 ? "later" : std::to_string(i)) + "\"" + (i < 39 ? "," : "") + value;
  }
  return expected ? "{" + value + "}" : document + "<m05>later</m05></r>";
}

// Well-formed answers become values under the root "r"; malformed ones (value nullptr) report a
// parse error and leave no value.
TEST(FBXMLHandlerTest, AnswersBecomeValues) {
  const std::string many = manyMembers(true);
  const std::pair<std::string, const char*> cases[] = {
      {"<r list=\"true\"><uid>1</uid><uid>2</uid><uid>9007199254740993</uid></r>",
       R"([{uid:"1"},{uid:"2"},{uid:"9007199254740993"}])"},
      {"<r list=\"true\">\n <user><uid>1</uid><name>An</name></user>\n <user/></r>",
       R"([{name:"An",uid:"1"},null])"},
      {"<r><a><b>x</b></a><c/></r>", R"({a:{b:"x"},c:null})"},
      {"<r> hi </r>", R"(" hi ")"},  // a text root keeps its blanks
      {"<r/>", "null"},
      {"<r> \n\t\u00a0\u2028\u3000 </r>", "null"},
      {"<r><a>1</a><b>3</b><a>2</a><a>4</a></r>", R"({a:"4",b:"3"})"},  // later sibling wins
      {manyMembers(false), many.c_str()},
      {"<r>t<b>x</b></r>", R"({b:"x"})"},    // text before a child gives way
      {"<r><b>x</b>tail</r>", R"("tail")"},  // text after children wins
      {"<r>", nullptr},
      {"<r></s>", nullptr},
  };
  for (const auto& [document, value] : cases) {
    SCOPED_TRACE(document.substr(0, 60));
    FBXMLHandler handler;
    xml::XmlParser parser(document);
    parser.setDelegate(&handler);
    const bool ok = parser.parse();
    EXPECT_EQ(ok, value != nullptr);
    EXPECT_EQ(ok, !handler.parseError().has_value());
    EXPECT_EQ(handler.rootName(), ok ? "r" : handler.rootName());
    EXPECT_EQ(render(handler.rootObject()), value ? value : "null");
  }
}

// Every other level a list; far deeper than a recursive walk on the C stack survives, both in
// building the value and in releasing it.
TEST(FBXMLHandlerTest, DeepAnswersNeedNoRecursion) {
  const int levels = 200000;
  std::string deep;
  for (int i = 0; i < levels; ++i) deep += i % 2 ? "<a>" : "<a list=\"true\">";
  deep += "x";
  for (int i = 0; i < levels; ++i) deep += "</a>";
  FBXMLHandler handler;
  xml::XmlParser parser(deep);
  parser.setDelegate(&handler);
  ASSERT_TRUE(parser.parse());
  FBValue root = handler.takeRootObject();
  // The innermost text sits in a list, so it is wrapped as {a: "x"}: one more level.
  size_t depth = 0;
  const FBValue* v = &root;
  for (; v->isContainer(); ++depth) v = v->array() ? &v->at(0) : &v->member("a");
  EXPECT_EQ(depth, static_cast<size_t>(levels));
  EXPECT_EQ(v->text(), "x");
}

}  // namespace
