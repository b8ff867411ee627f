#include "facebook/FBXMLHandler.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/xml/XmlParser.h"
#include "tests/facebook/FBTestSupport.h"

namespace {

using testing_support::render;

struct Parsed {
  bool ok = false;
  std::string rootName;
  std::string value;
};

Parsed parse(const std::string& document) {
  FBXMLHandler handler;
  xml::XmlParser parser(document);
  parser.setDelegate(&handler);
  Parsed parsed;
  parsed.ok = parser.parse();
  EXPECT_EQ(parsed.ok, !handler.parseError().has_value());
  parsed.rootName = handler.rootName();
  parsed.value = render(handler.rootObject());
  return parsed;
}

struct Case {
  const char* name;
  std::string document;
  const char* value;
};

// Forty members in reverse order, "m05" given twice: the later one counts.
std::string manyMembers(bool expected) {
  std::string out = expected ? "{" : "<r>";
  for (int i = expected ? 0 : 39; expected ? i < 40 : i >= 0; i += expected ? 1 : -1) {
    char name[8];
    std::snprintf(name, sizeof name, "m%02d", i);
    std::string text = i == 5 ? "later" : std::to_string(i);
    out += expected
               ? (i ? "," : "") + std::string(name) + ":\"" + text + "\""
               : "<" + std::string(name) + ">" + (i == 5 ? "earlier" : text) + "</" + name + ">";
    if (!expected && i == 0) out += "<m05>later</m05>";
  }
  return out + (expected ? "}" : "</r>");
}

TEST(FBXMLHandlerTest, AnswersBecomeValues) {
  const std::string many = manyMembers(true);
  const Case cases[] = {
      {"list of uids", "<r list=\"true\"><uid>1</uid><uid>2</uid><uid>9007199254740993</uid></r>",
       R"([{uid:"1"},{uid:"2"},{uid:"9007199254740993"}])"},
      {"list of records",
       "<r list=\"true\">\n <user><uid>1</uid><name>An</name></user>\n <user/></r>",
       R"([{name:"An",uid:"1"},null])"},
      {"nested dictionaries", "<r><a><b>x</b></a><c/></r>", R"({a:{b:"x"},c:null})"},
      {"text root keeps its blanks", "<r> hi </r>", R"(" hi ")"},
      {"empty root", "<r/>", "null"},
      {"blank root", "<r> \n\t\u00a0\u2028\u3000 </r>", "null"},
      {"entities", "<r>a &amp; &lt;b&gt; &#233;&#x1F600;</r>", R"("a & <b> é😀")"},
      {"internal entity", "<!DOCTYPE r [<!ENTITY n \"ent\">]><r>&n;</r>", R"("ent")"},
      {"external entity is not loaded",
       "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r><a>&x;</a></r>", "{a:null}"},
      {"cdata", "<r><![CDATA[<b>]]></r>", R"("<b>")"},
      {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>caf\xe9 \x80</r>",
       R"("café €")"},
      {"latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><a>\xe9</a></r>",
       R"({a:"é"})"},
      {"later sibling replaces earlier", "<r><a>1</a><b>3</b><a>2</a><a>4</a></r>",
       R"({a:"4",b:"3"})"},
      {"many members", manyMembers(false), many.c_str()},
      {"text before a child gives way", "<r>t<b>x</b></r>", R"({b:"x"})"},
      {"text after children wins", "<r><b>x</b>tail</r>", R"("tail")"},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(c.document);
    EXPECT_TRUE(parsed.ok) << c.name;
    EXPECT_EQ(parsed.rootName, "r") << c.name;
    EXPECT_EQ(parsed.value, c.value) << c.name;
  }
}

TEST(FBXMLHandlerTest, MalformedAnswersReportAParseError) {
  const std::string laughs =
      "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
      "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
      "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">"
      "]><r>&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;</r>";
  for (const std::string& document :
       {std::string(), std::string("plain text"), std::string("<r>"), std::string("<r></s>"),
        std::string("<a/><b/>"), std::string("<r>&undefined;</r>"), laughs}) {
    Parsed parsed = parse(document);
    EXPECT_FALSE(parsed.ok) << document.substr(0, 40);
    EXPECT_EQ(parsed.value, "null") << document.substr(0, 40);
  }
}

// Walks down a value made of nested arrays and dictionaries without recursion.
size_t depthOf(const FBValue& root, std::string* innermost) {
  size_t depth = 0;
  const FBValue* v = &root;
  while (v->isContainer()) {
    v = v->array() ? &v->at(0) : &v->member("a");
    ++depth;
  }
  *innermost = std::string(v->text());
  return depth;
}

TEST(FBXMLHandlerTest, DeepAndHugeAnswersNeedNoRecursion) {
  // Every other level is a list; far deeper than a recursive walk on the C stack survives.
  const int levels = 200000;
  std::string deep;
  for (int i = 0; i < levels; ++i) deep += i % 2 ? "<a>" : "<a list=\"true\">";
  deep += "x";
  for (int i = 0; i < levels; ++i) deep += "</a>";
  {
    FBXMLHandler handler;
    xml::XmlParser parser(deep);
    parser.setDelegate(&handler);
    ASSERT_TRUE(parser.parse());
    FBValue root = handler.takeRootObject();
    std::string innermost;
    // The innermost text sits in a list, so it is wrapped as {a: "x"}: one more level.
    EXPECT_EQ(depthOf(root, &innermost), static_cast<size_t>(levels));
    EXPECT_EQ(innermost, "x");
  }  // released here, level by level

  const int entries = 50000;
  std::string huge = "<r list=\"true\">";
  for (int i = 0; i < entries; ++i)
    huge += "<user><uid>" + std::to_string(i) + "</uid><name>Name " + std::to_string(i) +
            "</name></user>";
  huge += "</r>";
  FBXMLHandler handler;
  xml::XmlParser parser(huge);
  parser.setDelegate(&handler);
  ASSERT_TRUE(parser.parse());
  ASSERT_NE(handler.rootObject().array(), nullptr);
  EXPECT_EQ(handler.rootObject().array()->size(), static_cast<size_t>(entries));
  EXPECT_EQ(render(handler.rootObject().at(entries - 1)), R"({name:"Name 49999",uid:"49999"})");
}

}  // namespace
