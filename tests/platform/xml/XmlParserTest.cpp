#include "platform/xml/XmlParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes every event as one line: "<name a=v>", "text", "</name>", "error L:C".
class Recorder : public xml::XmlParserDelegate {
 public:
  std::vector<std::string> events;
  std::string text;

  void didStartElement(xml::XmlParser&, std::string_view name,
                       const xml::XmlAttributes& attributes) override {
    flush();
    std::string line = "<" + std::string(name);
    for (size_t i = 0; i < attributes.size(); ++i)
      line += " " + std::string(attributes.name(i)) + "=" + std::string(attributes.value(i));
    events.push_back(line + ">");
  }
  void foundCharacters(xml::XmlParser&, std::string_view chars) override { text += chars; }
  void didEndElement(xml::XmlParser&, std::string_view name) override {
    flush();
    events.push_back("</" + std::string(name) + ">");
  }
  void parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) override {
    flush();
    events.push_back("error " + std::to_string(error.line) + ":" + std::to_string(error.column));
  }

 private:
  void flush() {
    if (!text.empty()) events.push_back(text);
    text.clear();
  }
};

std::vector<std::string> parse(const std::string& document, bool* ok = nullptr) {
  Recorder recorder;
  xml::XmlParser parser(document);
  parser.setDelegate(&recorder);
  bool result = parser.parse();
  if (ok) *ok = result;
  return recorder.events;
}

using Events = std::vector<std::string>;

}  // namespace

TEST(XmlParser, ReportsQualifiedNamesOrderedAttributesAndText) {
  bool ok = false;
  Events events = parse(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<rss xmlns:media=\"http://search.yahoo.com/mrss/\"><item z=\"1\" a=\"2\">"
      "<title>Thế &amp; giới</title><media:thumbnail url=\"http://x/a.jpg\"/>"
      "<description><![CDATA[<img src=\"x\"/>]]></description></item></rss>",
      &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(events,
            (Events{"<rss xmlns:media=http://search.yahoo.com/mrss/>", "<item z=1 a=2>", "<title>",
                    "Thế & giới", "</title>", "<media:thumbnail url=http://x/a.jpg>",
                    "</media:thumbnail>", "<description>", "<img src=\"x\"/>", "</description>",
                    "</item>", "</rss>"}));
}

TEST(XmlParser, StopsAtAFaultAndKeepsWhatCameBefore) {
  bool ok = true;
  Recorder recorder;
  xml::XmlParser parser("<a>\n<b>one</b>\n<c>two</d></a>");
  parser.setDelegate(&recorder);
  EXPECT_FALSE(parser.parse());
  ASSERT_TRUE(parser.parserError());
  EXPECT_NE(parser.parserError()->describe().find("mismatched tag"), std::string::npos);
  EXPECT_EQ(recorder.events,
            (Events{"<a>", "\n", "<b>", "one", "</b>", "\n", "<c>", "two", "error 3:9"}));

  EXPECT_EQ(parse("", &ok), (Events{"error 1:1"}));
  EXPECT_FALSE(ok);
}

TEST(XmlParser, NeverLoadsExternalEntities) {
  bool ok = false;
  Events events = parse(
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE rss [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>\n"
      "<rss><title>a&secret;b</title></rss>",
      &ok);
  for (const std::string& e : events) EXPECT_EQ(e.find("root:"), std::string::npos) << e;
  EXPECT_EQ(events[1], "<title>");
  EXPECT_EQ(events[2], "ab");
}

TEST(XmlParser, StopsRunawayEntityExpansion) {
  std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lollollollol\">\n";
  for (int i = 1; i <= 10; ++i) {
    doc += "<!ENTITY lol" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doc += "&lol" + std::to_string(i - 1) + ";";
    doc += "\">\n";
  }
  doc += "]>\n<lolz>&lol10;</lolz>";  // 4 * 10^10 bytes if expanded

  Recorder recorder;
  xml::XmlParser parser(doc);
  parser.setDelegate(&recorder);
  EXPECT_FALSE(parser.parse());
  size_t received = 0;
  for (const std::string& e : recorder.events) received += e.size();
  EXPECT_LT(received, 64u << 20);
}

TEST(XmlParser, DecodesDeclaredSingleByteEncodings) {
  // windows-1258: "Vi" + e-circumflex (0xEA) + combining dot below (0xF2) + "t", and
  // d-stroke (0xF0). Combining marks come out as separate code points.
  std::string cp1258 = "<?xml version=\"1.0\" encoding=\"windows-1258\"?><t>Vi\xEA\xF2t \xF0i</t>";
  EXPECT_EQ(parse(cp1258), (Events{"<t>", "Vi\xC3\xAA\xCC\xA3t \xC4\x91i", "</t>"}));
}

TEST(XmlParser, RefusesUnknownMultiByteAndOddlyNamedEncodings) {
  for (const char* name : {"Shift_JIS", "no-such-charset", "../../tmp/x"}) {
    bool ok = true;
    Events events =
        parse(std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?><t>a</t>", &ok);
    EXPECT_FALSE(ok) << name;
    EXPECT_EQ(events.size(), 1u) << name;
  }
}
