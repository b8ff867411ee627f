#include "platform/xml/XmlParser.h"

#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

// Writes every event as one line: "<name a=v>", "text", "</name>", "error L:C".
struct Recorder : xml::XmlParserDelegate {
  Events events;
  std::string text;

  void didStartElement(xml::XmlParser&, std::string_view name,
                       const xml::XmlAttributes& attributes) override {
    std::string line = "<" + std::string(name);
    for (size_t i = 0; i < attributes.size(); ++i)
      line += " " + std::string(attributes.name(i)) + "=" + std::string(attributes.value(i));
    add(line + ">");
  }
  void foundCharacters(xml::XmlParser&, std::string_view chars) override { text += chars; }
  void didEndElement(xml::XmlParser&, std::string_view name) override {
    add("</" + std::string(name) + ">");
  }
  void parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) override {
    add("error " + std::to_string(error.line) + ":" + std::to_string(error.column));
  }
  void add(std::string event) {
    if (!text.empty()) events.push_back(std::exchange(text, ""));
    events.push_back(std::move(event));
  }
};

// The events of `document`, and whether it parsed.
std::pair<Events, bool> parse(const std::string& document) {
  Recorder recorder;
  xml::XmlParser parser(document);
  parser.setDelegate(&recorder);
  bool ok = parser.parse();
  return {recorder.events, ok};
}

TEST(XmlParser, ReportsQualifiedNamesOrderedAttributesAndText) {
  EXPECT_EQ(
      parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<rss xmlns:media=\"http://search.yahoo.com/mrss/\"><item z=\"1\" a=\"2\">"
            "<title>Thế &amp; giới</title><media:thumbnail url=\"http://x/a.jpg\"/>"
            "<description><![CDATA[<img src=\"x\"/>]]></description></item></rss>"),
      std::pair(Events{"<rss xmlns:media=http://search.yahoo.com/mrss/>", "<item z=1 a=2>",
                       "<title>", "Thế & giới", "</title>", "<media:thumbnail url=http://x/a.jpg>",
                       "</media:thumbnail>", "<description>", "<img src=\"x\"/>", "</description>",
                       "</item>", "</rss>"},
                true));
}

TEST(XmlParser, StopsAtAFaultAndKeepsWhatCameBefore) {
  Recorder recorder;
  xml::XmlParser parser("<a>\n<b>one</b>\n<c>two</d></a>");
  parser.setDelegate(&recorder);
  EXPECT_FALSE(parser.parse());
  ASSERT_TRUE(parser.parserError());
  EXPECT_NE(parser.parserError()->describe().find("mismatched tag"), std::string::npos);
  EXPECT_EQ(recorder.events,
            (Events{"<a>", "\n", "<b>", "one", "</b>", "\n", "<c>", "two", "error 3:9"}));
  EXPECT_EQ(parse(""), std::pair(Events{"error 1:1"}, false));
}

// External entities are never loaded, and runaway expansion (4 * 10^10 bytes) is stopped.
TEST(XmlParser, HostileEntities) {
  auto [events, ok] = parse(
      "<?xml version=\"1.0\"?>\n<!DOCTYPE rss [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>\n"
      "<rss><title>a&secret;b</title></rss>");
  EXPECT_EQ(Events(events.begin() + 1, events.begin() + 3), (Events{"<title>", "ab"}));

  std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lollollollol\">\n";
  for (int i = 1; i <= 10; ++i) {
    doc += "<!ENTITY lol" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doc += "&lol" + std::to_string(i - 1) + ";";
    doc += "\">\n";
  }
  std::tie(events, ok) = parse(doc + "]>\n<lolz>&lol10;</lolz>");
  EXPECT_FALSE(ok);
  size_t received = 0;
  for (const std::string& e : events) received += e.size();
  EXPECT_LT(received, 64u << 20);
}

// Declared single-byte encodings are decoded (windows-1258: e-circumflex 0xEA, a combining dot
// below 0xF2 kept as its own code point, d-stroke 0xF0); multi-byte, unknown or oddly named
// ones are refused.
TEST(XmlParser, Encodings) {
  EXPECT_EQ(parse("<?xml version=\"1.0\" encoding=\"windows-1258\"?><t>Vi\xEA\xF2t \xF0i</t>"),
            std::pair(Events{"<t>", "Vi\xC3\xAA\xCC\xA3t \xC4\x91i", "</t>"}, true));
  for (const char* name : {"Shift_JIS", "no-such-charset", "../../tmp/x"}) {
    auto [events, ok] =
        parse(std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?><t>a</t>");
    EXPECT_FALSE(ok) << name;
    EXPECT_EQ(events.size(), 1u) << name;
  }
}

}  // namespace
