#include "facebook/FBXMLHandler.h"

#include <gtest/gtest.h>

#include "tests/facebook/FBTestSupport.h"

namespace {

// The value of a well-formed answer, as the requests read it.
FBValue parse(const std::string& document) {
  return std::get<FBValue>(FBRequest::parseXMLResponse(document, ""));
}

// Answers become values under their root element.
TEST(FBXMLHandlerTest, AnswersBecomeValues) {
  // Forty members in reverse order (more than are sorted in place), "m05" given twice: the later
  // one counts.
  std::string many = "<r>", manyValue;
  for (int i = 39; i >= 0; --i) {
    const std::string name = (i < 10 ? "m0" : "m") + std::to_string(i);
    many += "<" + name + ">" + (i == 5 ? "earlier" : std::to_string(i)) + "</" + name + ">";
    manyValue = "," + name + ":\"" + (i == 5 ? "later" : std::to_string(i)) + "\"" + manyValue;
  }
  const std::pair<std::string, std::string> cases[] = {
      {"<r list=\"true\"><uid>1</uid><uid>2</uid><uid>9007199254740993</uid></r>",
       R"([{uid:"1"},{uid:"2"},{uid:"9007199254740993"}])"},
      {"<r list=\"true\">\n <user><uid>1</uid><name>An</name></user>\n <user/></r>",
       R"([{name:"An",uid:"1"},null])"},
      {"<r><a><b>x</b></a><c/></r>", R"({a:{b:"x"},c:null})"},
      {"<r> hi </r>", R"(" hi ")"},  // a text root keeps its blanks
      {"<r/>", "null"},
      {"<r> \n\t\u00a0\u2028\u3000 </r>", "null"},
      {"<r><a>1</a><b>3</b><a>2</a><a>4</a></r>", R"({a:"4",b:"3"})"},  // later sibling wins
      {many + "<m05>later</m05></r>", "{" + manyValue.substr(1) + "}"},
      {"<r>t<b>x</b></r>", R"({b:"x"})"},    // text before a child gives way
      {"<r><b>x</b>tail</r>", R"("tail")"},  // text after children wins
  };
  for (const auto& [document, value] : cases)
    EXPECT_EQ(testing_support::render(parse(document)), value) << document.substr(0, 60);
}

// Every other level a list; far deeper than a recursive walk on the C stack survives, both in
// building the value and in releasing it.
TEST(FBXMLHandlerTest, DeepAnswersNeedNoRecursion) {
  const int levels = 200000;
  std::string deep;
  for (int i = 0; i < levels; ++i) deep += i % 2 ? "<a>" : "<a list=\"true\">";
  deep += "x";
  for (int i = 0; i < levels; ++i) deep += "</a>";
  FBValue root = parse(deep);
  // The innermost text sits in a list, so it is wrapped as {a: "x"}: one more level.
  size_t depth = 0;
  const FBValue* v = &root;
  for (; v->isContainer(); ++depth) v = v->array() ? &v->at(0) : &v->member("a");
  EXPECT_EQ(depth, static_cast<size_t>(levels));
  EXPECT_EQ(v->text(), "x");
}

}  // namespace
