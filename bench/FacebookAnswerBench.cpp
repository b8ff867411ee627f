// Throughput of FBXMLHandler on a 1 MB users.getInfo answer (a list of user records), compared
// with the project's XML parser alone, with a delegate that ignores every event.
#include <benchmark/benchmark.h>

#include <string>

#include "facebook/FBXMLHandler.h"
#include "platform/base/Strings.h"
#include "platform/xml/XmlParser.h"

namespace {

std::string makeAnswer(size_t minimumBytes) {
  std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<users_getInfo_response "
      "xmlns=\"http://api.facebook.com/1.0/\" list=\"true\">\n";
  for (long long i = 0; doc.size() < minimumBytes; ++i) {
    long long uid = 100000000000000LL + i * 7919;
    doc += base::format(
        "  <user>\n    <uid>%lld</uid>\n    <name>Nguyễn Văn An %lld</name>\n"
        "    <first_name>An</first_name>\n    <last_name>Nguyễn</last_name>\n"
        "    <pic_square>http://profile.ak.fbcdn.net/v22941/%lld/q%lld_1234.jpg</pic_square>\n"
        "    <status>\n      <message>Đọc tin tức mới nhất trên Vemo &amp; chia sẻ</message>\n"
        "      <time>%lld</time>\n    </status>\n"
        "    <affiliations list=\"true\">\n      <affiliation>\n        <nid>%lld</nid>\n"
        "        <name>Hà Nội</name>\n        <type>region</type>\n      </affiliation>\n"
        "    </affiliations>\n    <timezone>7</timezone>\n    <is_app_user>1</is_app_user>\n"
        "    <profile_update_time></profile_update_time>\n  </user>\n",
        uid, i, i % 1000, uid, 1323200000 + i, 67108000 + i % 50);
  }
  return doc + "</users_getInfo_response>\n";
}

const std::string& answer() {
  static const std::string doc = makeAnswer(1 << 20);
  return doc;
}

void BM_FBXMLHandler(benchmark::State& state) {
  const std::string& doc = answer();
  size_t users = 0;
  for (auto _ : state) {
    FBXMLHandler handler;
    xml::XmlParser parser(doc);
    parser.setDelegate(&handler);
    if (!parser.parse()) state.SkipWithError("parse failed");
    users = handler.rootObject().array() ? handler.rootObject().array()->size() : 0;
    benchmark::DoNotOptimize(users);
  }
  state.counters["users"] = static_cast<double>(users);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_FBXMLHandler)->Unit(benchmark::kMillisecond);

void BM_XmlParserEmptyDelegate(benchmark::State& state) {
  const std::string& doc = answer();
  xml::XmlParserDelegate ignoreAll;
  for (auto _ : state) {
    xml::XmlParser parser(doc);
    parser.setDelegate(&ignoreAll);
    if (!parser.parse()) state.SkipWithError("parse failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_XmlParserEmptyDelegate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
