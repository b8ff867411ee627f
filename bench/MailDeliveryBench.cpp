// Building and delivering a message with a 5 MB attachment to a loopback SMTP server, against
// libcurl sending the same message bytes, prebuilt, to the same server.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstring>

#include "app/sandbox/SandboxMailSink.h"
#include "sharing/services/MailMessage.h"
#include "sharing/services/SmtpDelivery.h"

namespace {

MailMessage fiveMegabyteMessage() {
  MailMessage m;
  m.from = "vemo@vemo.vn";
  m.to = {"ann@vemo.vn"};
  m.subject = "Báo cáo tuần";
  m.htmlBody = "Attached: báo cáo.pdf";
  std::vector<uint8_t> bytes(5u << 20);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  m.attachments.push_back({"báo cáo.pdf", "application/pdf", std::move(bytes)});
  return m;
}

struct Sink {
  Sink() { sink.start(); }
  SandboxMailSink sink;
};

Sink& sink() {
  static Sink* s = new Sink;
  return *s;
}

void BM_BuildAndDeliver(benchmark::State& state) {
  const MailMessage message = fiveMegabyteMessage();
  SmtpDelivery::Account account;
  account.mail.server = "127.0.0.1";
  account.mail.port = sink().sink.port();
  account.mail.security = SHKServiceConfig::Security::None;
  size_t bytes = 0;
  for (auto _ : state) {
    std::string built = message.build();
    auto result = SmtpDelivery::send(account, message.from, message.to, built);
    if (!result.ok) state.SkipWithError(result.error.c_str());
    bytes = built.size();
    state.PauseTiming();
    sink().sink.clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

// The message alone, to split the first figure into building and delivering.
void BM_BuildOnly(benchmark::State& state) {
  const MailMessage message = fiveMegabyteMessage();
  for (auto _ : state) benchmark::DoNotOptimize(message.build());
}

struct Upload {
  const std::string* bytes;
  size_t offset;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
  auto* u = static_cast<Upload*>(user);
  size_t n = std::min(size * count, u->bytes->size() - u->offset);
  std::memcpy(buffer, u->bytes->data() + u->offset, n);
  u->offset += n;
  return n;
}

void BM_CurlPrebuiltBytes(benchmark::State& state) {
  const std::string bytes = fiveMegabyteMessage().build();
  const std::string url = "smtp://127.0.0.1:" + std::to_string(sink().sink.port());
  for (auto _ : state) {
    CURL* h = curl_easy_init();
    curl_slist* rcpt = curl_slist_append(nullptr, "ann@vemo.vn");
    Upload upload{&bytes, 0};
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, "vemo@vemo.vn");
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    if (curl_easy_perform(h) != CURLE_OK) state.SkipWithError("curl failed");
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(h);
    state.PauseTiming();
    sink().sink.clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes.size()) * state.iterations());
}

BENCHMARK(BM_BuildAndDeliver)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlPrebuiltBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
