#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/core/helpers/oauth/OADataFetcher.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

// What the delegate was told, "finished <status> <data>" or "failed <error code>", with the
// ticket's verdict; and how many reports came.
struct Report {
  std::string said;
  int count = 0;
};

OAFetcherCallbacks recordInto(Report& r) {
  return {[&r](const OAServiceTicket& ticket, const std::string& data) {
            r.said = "finished " + std::to_string(ticket.response()->statusCode()) + " " + data +
                     (ticket.didSucceed() ? " ok" : "");
            ++r.count;
          },
          [&r](const OAServiceTicket& ticket, const std::optional<net::Error>& error) {
            r.said = "failed " + std::to_string(error ? int(error->code()) : 0) +
                     (ticket.response() || ticket.didSucceed() ? " with a response" : "");
            ++r.count;
          }};
}

class OAFetcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().set_keep_alive_max_count(1);
    server.server().Get(
        R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
          res.status = std::stoi(req.matches[1]);
          res.set_content(req.has_header("Authorization") ? "signed" : "unsigned", "text/plain");
        });
    server.start();
  }
  void TearDown() override {
    server.stop();
    base::RunLoop::main().reset();
  }
  std::shared_ptr<OAMutableURLRequest> request(const std::string& address) {
    return std::make_shared<OAMutableURLRequest>(*net::Url::parse(address), OAConsumer("k", "s"));
  }
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/";
  testing_support::TempDir dir;
  testing_support::LoopbackServer server;
};

// Both fetchers: below 400 succeeds, error statuses still finish, a refused connection fails.
TEST_F(OAFetcherTest, StatusDecidesSuccessAndConnectionErrorsFail) {
  const std::pair<std::string, std::string> cases[] = {
      {server.url("/status/200"), "finished 200 signed ok"},
      {server.url("/status/399"), "finished 399 signed ok"},
      {server.url("/status/400"), "finished 400 signed"},
      {refused, "failed " + std::to_string(int(net::Error::CannotConnectToHost))},
  };
  for (const auto& [address, said] : cases) {
    Report sync, async;
    OADataFetcher::fetchDataWithRequest(request(address), recordInto(sync));
    // Started without being kept, as callers do: it lives until its report, then goes.
    std::weak_ptr<OAAsynchronousDataFetcher> weak;
    {
      auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(request(address),
                                                                               recordInto(async));
      fetcher->start();
      weak = fetcher;
    }
    EXPECT_FALSE(weak.expired());
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return async.count > 0; }));
    EXPECT_TRUE(weak.expired());
    for (const Report* r : {&sync, &async})
      EXPECT_EQ(r->said + " x" + std::to_string(r->count), said + " x1");
  }
}

TEST_F(OAFetcherTest, NoDelegateOrCancelDeliversNothingAndReleasesTheFetcher) {
  auto silent = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request(server.url("/status/200")), {});
  std::weak_ptr<OAAsynchronousDataFetcher> weakSilent = silent;
  silent->start();
  silent.reset();
  EXPECT_TRUE(base::RunLoop::main().runUntilCondition([&] { return weakSilent.expired(); }));

  Report report;
  auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request(server.url("/status/200")), recordInto(report));
  std::weak_ptr<OAAsynchronousDataFetcher> weak = fetcher;
  fetcher->start();
  fetcher->cancel();
  fetcher.reset();
  EXPECT_TRUE(weak.expired());
  // The server's answer still arrives; nothing of it may reach the delegate.
  base::RunLoop::main().runUntilCondition([] { return false; }, 0.3);
  EXPECT_EQ(report.count, 0);
}

}  // namespace
