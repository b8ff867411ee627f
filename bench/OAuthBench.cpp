#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/net/CurlRequest.h"
#include "platform/net/Initialize.h"
#include "platform/net/UrlConnection.h"
#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

namespace {

// A typical status update: token, two form parameters, HMAC-SHA1.
void BM_PrepareSignedRequest(benchmark::State& state) {
  net::Url url = *net::Url::parse("https://api.example.com/1/statuses/update.json");
  OAConsumer consumer("dpf43f3p2l4k3l03", "kd94hf93k423kf44");
  OAToken token("nnch734d00sl2jdk", "pfkkdhi9sl3r4s00");
  for (auto _ : state) {
    OAMutableURLRequest request(url, consumer, token);
    request.setHttpMethod("POST");
    request.setParameters(
        {{"status", "Tin mới nhất từ Vemo: http://vemo.example/a/123456"}, {"lang", "vi"}});
    request.prepare();
    benchmark::DoNotOptimize(request.signature());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrepareSignedRequest);

// Loads one address after another through UrlConnection, each started when the last finished.
class Chain : public net::UrlConnectionDelegate {
 public:
  Chain(std::string address, int count) : address_(std::move(address)), left_(count) {}
  void start() {
    connection_ = net::UrlConnection::start(net::UrlRequest(*net::Url::parse(address_)), this);
  }
  void didReceiveData(net::UrlConnection&, std::string_view data) override {
    bytes_ += data.size();
  }
  void didFinishLoading(net::UrlConnection&) override { next(); }
  void didFailWithError(net::UrlConnection&, const net::Error&) override {
    failed_ = true;
    left_ = 0;
  }
  bool done() const { return left_ == 0; }
  bool failed() const { return failed_; }

 private:
  void next() {
    if (--left_ > 0) base::RunLoop::main().post([this] { start(); });
  }
  std::string address_;
  int left_;
  size_t bytes_ = 0;
  bool failed_ = false;
  std::unique_ptr<net::UrlConnection> connection_;
};

size_t discard(char*, size_t size, size_t count, void*) {
  return size * count;
}

// CPU time of this process (every thread: the test server's and the main one, which runs both
// loaders).
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Min, median and max of `values` into counters named `name`_min/_median/_max.
void spread(benchmark::State& state, const std::string& name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  state.counters[name + "_min"] = values.front();
  state.counters[name + "_median"] = values[values.size() / 2];
  state.counters[name + "_max"] = values.back();
}

// 1,000 small GETs through UrlConnection, then the same 1,000 with one blocking libcurl handle.
// The server compresses what the client accepts, as a real one does.
void BM_UrlConnectionAgainstBlockingCurl_1000Gets(benchmark::State& state) {
  net::initialize();
  httplib::Server server;
  server.Get("/small", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("0123456789abcdef", "text/plain");
  });
  // Without it, Nagle and delayed acknowledgements add tens of milliseconds to every reply.
  server.set_tcp_nodelay(true);
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::string address = "http://127.0.0.1:" + std::to_string(port) + "/small";
  constexpr int kCount = 1000, kSlice = 100;

  std::vector<double> asyncMs, blockingMs, ratios, cpuRatios;
  // The blocking handle keeps its connection across passes, as the loader's pool does.
  CURL* easy = curl_easy_init();
  curl_slist* headers = nullptr;
  net::CurlRequest::configure(easy, net::UrlRequest(*net::Url::parse(address)), headers);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, discard);
  for (auto _ : state) {
    // Ten alternating slices of 100 GETs each way, so that a burst of load elsewhere on the
    // machine falls on both sides; wall time and this process's CPU time are both counted.
    double a = 0, b = 0, cpuA = 0, cpuB = 0;
    for (int slice = 0; slice < kCount / kSlice; ++slice) {
      const double c0 = cpuSeconds();
      auto t0 = std::chrono::steady_clock::now();
      Chain chain(address, kSlice);
      chain.start();
      base::RunLoop::main().runUntilCondition([&] { return chain.done(); }, 120);
      auto t1 = std::chrono::steady_clock::now();
      const double c1 = cpuSeconds();
      if (chain.failed()) state.SkipWithError("a load failed");
      for (int i = 0; i < kSlice; ++i) curl_easy_perform(easy);
      auto t2 = std::chrono::steady_clock::now();
      const double c2 = cpuSeconds();
      a += std::chrono::duration<double>(t1 - t0).count();
      b += std::chrono::duration<double>(t2 - t1).count();
      cpuA += c1 - c0;
      cpuB += c2 - c1;
    }
    asyncMs.push_back(a * 1000);
    blockingMs.push_back(b * 1000);
    ratios.push_back(a / b);
    cpuRatios.push_back(cpuA / cpuB);
    state.SetIterationTime(a);
  }
  curl_easy_cleanup(easy);
  curl_slist_free_all(headers);
  server.stop();
  thread.join();
  spread(state, "async_ms_per_1000", asyncMs);
  spread(state, "blocking_ms_per_1000", blockingMs);
  spread(state, "async_to_blocking", ratios);
  spread(state, "cpu_async_to_blocking", cpuRatios);
}
BENCHMARK(BM_UrlConnectionAgainstBlockingCurl_1000Gets)
    ->UseManualTime()
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
