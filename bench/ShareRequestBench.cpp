// One share request over loopback (a 2 KiB form body up, 8 KiB back) through SHKRequest on
// the main run loop, against the same exchange as one blocking libcurl request.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <chrono>
#include <thread>

#include "platform/base/RunLoop.h"
#include "platform/net/Initialize.h"
#include "sharing/core/SHKRequest.h"

namespace {

size_t discard(char*, size_t size, size_t count, void*) {
  return size * count;
}

void BM_ShareRequestAgainstBlockingCurl(benchmark::State& state) {
  net::initialize();
  httplib::Server server;
  const std::string answer(8192, 'a');
  server.Post("/share", [&](const httplib::Request&, httplib::Response& res) {
    res.status = 201;
    res.set_content(answer, "text/plain");
  });
  server.set_tcp_nodelay(true);
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::string address = "http://127.0.0.1:" + std::to_string(port) + "/share";
  const std::string body = "status=" + std::string(2041, 'x');
  constexpr int kCount = 200;

  double requestSeconds = 0, blockingSeconds = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kCount; ++i) {
      bool done = false, ok = false;
      SHKRequest::create(
          *net::Url::parse(address), body,
          [&](SHKRequest& r) {
            done = true;
            ok = r.success() && r.data().size() == answer.size();
          },
          "POST", true);
      base::RunLoop::main().runUntilCondition([&] { return done; }, 30);
      if (!ok) state.SkipWithError("a request failed");
    }
    auto t1 = std::chrono::steady_clock::now();
    for (int i = 0; i < kCount; ++i) {
      CURL* easy = curl_easy_init();
      curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.c_str());
      curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, discard);
      curl_easy_perform(easy);
      curl_easy_cleanup(easy);
    }
    auto t2 = std::chrono::steady_clock::now();
    double a = std::chrono::duration<double>(t1 - t0).count();
    double b = std::chrono::duration<double>(t2 - t1).count();
    requestSeconds += a;
    blockingSeconds += b;
    state.SetIterationTime(a / kCount);
  }
  server.stop();
  thread.join();
  state.counters["request_us"] = requestSeconds * 1e6 / (kCount * state.iterations());
  state.counters["blocking_curl_us"] = blockingSeconds * 1e6 / (kCount * state.iterations());
  state.counters["request_to_blocking"] = requestSeconds / blockingSeconds;
}
BENCHMARK(BM_ShareRequestAgainstBlockingCurl)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
