// Parse throughput of HTTPConnection on a ~5 MB feed of ~5,000 Vietnamese stories, compared with
// expat alone (empty handlers) and with python3-feedparser on the same bytes.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/Strings.h"
#include "reader/feed/HTTPConnection.h"

namespace {

const char* const kTitles[] = {
    "Quốc hội thông qua kế hoạch phát triển kinh tế xã hội năm 2012",
    "Lãnh đạo châu Âu nhất trí siết chặt kỷ luật ngân sách",
    "VN-Index mất mốc 350 điểm trong phiên cuối tuần",
    "Đội tuyển bóng đá Việt Nam chuẩn bị cho giải vô địch Đông Nam Á",
};
const char* const kSummary =
    "Với đa số phiếu tán thành, Quốc hội đặt mục tiêu tăng trưởng khoảng 6% và kiềm chế lạm "
    "phát dưới hai con số trong năm tới. Các đại biểu nhấn mạnh yêu cầu tái cơ cấu nền kinh tế, "
    "đầu tư công và hệ thống ngân hàng thương mại, đồng thời bảo đảm an sinh xã hội cho người "
    "dân vùng sâu, vùng xa trong bối cảnh khó khăn chung của kinh tế thế giới.";

std::string makeFeed(int stories) {
  std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" "
      "xmlns:media=\"http://search.yahoo.com/mrss/\">\n<channel>\n<title>Vemo</title>\n"
      "<link>http://vemo.vn/</link>\n<description>Tin tức</description>\n";
  for (int i = 0; i < stories; ++i) {
    std::string link = base::format("http://vemo.vn/thoi-su/2011/12/bai-viet-so-%d.html", i);
    doc += "<item>\n<title>";
    doc += kTitles[i % 4];
    doc += "</title>\n<link>" + link + "</link>\n<description>&lt;img src=\"" +
           base::format("http://vemo.vn/images/pictures/%d.jpg", i) + "\" /&gt;" + kSummary +
           "</description>\n" +
           base::format("<pubDate>Mon, %02d Dec 2011 %02d:%02d:00 EST</pubDate>\n", 1 + i % 27,
                        i % 24, i % 60) +
           "<guid>" + link + "</guid>\n<media:thumbnail url=\"" +
           base::format("http://vemo.vn/images/thumbs/%d.jpg", i) + "\"/>\n</item>\n";
  }
  doc += "</channel>\n</rss>\n";
  return doc;
}

const std::string& feed() {
  static const std::string doc = makeFeed(5000);
  return doc;
}

void BM_HTTPConnection(benchmark::State& state) {
  const std::string& doc = feed();
  size_t records = 0;
  for (auto _ : state) {
    HTTPConnection connection;
    connection.parseData(doc);
    records = connection.getDataInArray().size();
    benchmark::DoNotOptimize(records);
  }
  if (records != 5000) state.SkipWithError("wrong number of stories");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_HTTPConnection)->Unit(benchmark::kMillisecond);

void onStart(void*, const XML_Char*, const XML_Char**) {}
void onEnd(void*, const XML_Char*) {}
void onText(void*, const XML_Char*, int) {}

void BM_ExpatEmptyHandlers(benchmark::State& state) {
  const std::string& doc = feed();
  for (auto _ : state) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    if (XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) != XML_STATUS_OK)
      state.SkipWithError("expat failed");
    XML_ParserFree(parser);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_ExpatEmptyHandlers)->Unit(benchmark::kMillisecond);

// Debian's python3-feedparser on the same bytes; the script times feedparser.parse() itself so
// interpreter start-up is not counted.
void BM_Feedparser(benchmark::State& state) {
  const std::string& doc = feed();
  std::filesystem::path file = std::filesystem::temp_directory_path() / "vemo-bench-feed.rss";
  std::ofstream(file, std::ios::binary) << doc;
  std::string command =
      "/usr/bin/python3 -c 'import sys, time, feedparser; data = open(sys.argv[1], \"rb\").read(); "
      "t = time.perf_counter(); d = feedparser.parse(data); "
      "print(time.perf_counter() - t, len(d.entries))' " +
      file.string();
  for (auto _ : state) {
    FILE* pipe = popen(command.c_str(), "r");
    double seconds = 0;
    int entries = 0;
    if (!pipe || std::fscanf(pipe, "%lf %d", &seconds, &entries) != 2 || entries != 5000) {
      if (pipe) pclose(pipe);
      state.SkipWithError("python3-feedparser did not run");
      break;
    }
    pclose(pipe);
    state.SetIterationTime(seconds);
  }
  std::filesystem::remove(file);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Feedparser)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
