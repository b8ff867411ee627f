#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/base/RunLoop.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/core/helpers/oauth/OADataFetcher.h"
#include "tests/platform/net/TransferTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

// One report as the delegate saw it.
struct Report {
  bool finished = false;
  bool failed = false;
  bool didSucceed = false;
  int status = 0;
  bool hadResponse = false;
  bool ticketHadBody = false;
  std::string data;
  std::optional<net::Error> error;
  int count = 0;
};

OAFetcherCallbacks recordInto(Report& report) {
  return {[&report](const OAServiceTicket& ticket, const std::string& data) {
            report.finished = true;
            report.didSucceed = ticket.didSucceed();
            report.hadResponse = ticket.response().has_value();
            report.status = ticket.response() ? ticket.response()->statusCode() : 0;
            report.ticketHadBody = ticket.body().has_value();
            report.data = data;
            ++report.count;
          },
          [&report](const OAServiceTicket& ticket, const std::optional<net::Error>& error) {
            report.failed = true;
            report.didSucceed = ticket.didSucceed();
            report.hadResponse = ticket.response().has_value();
            report.error = error;
            ++report.count;
          }};
}

class OAFetcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server.server();
    s.set_keep_alive_max_count(1);
    for (int status : {200, 399, 400, 500}) {
      s.Get("/status/" + std::to_string(status),
            [status](const httplib::Request& req, httplib::Response& res) {
              res.status = status;
              res.set_content("body " + std::to_string(status) + " " +
                                  (req.has_header("Authorization") ? "signed" : "unsigned"),
                              "text/plain");
            });
    }
    s.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/status/200");
      res.set_content("redirect body that must not stay", "text/plain");
    });
    s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      gate.wait();
      res.set_content("late", "text/plain");
    });
    server.start();
  }
  void TearDown() override {
    gate.open();
    server.stop();
    base::RunLoop::main().reset();
  }

  std::shared_ptr<OAMutableURLRequest> request(const std::string& address) {
    return std::make_shared<OAMutableURLRequest>(*net::Url::parse(address), OAConsumer("k", "s"));
  }

  // Starts a fetcher without keeping it, as callers do, and runs until it reported.
  void fetch(const std::string& address, Report& report) {
    std::weak_ptr<OAAsynchronousDataFetcher> weak;
    {
      auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(request(address),
                                                                               recordInto(report));
      fetcher->start();
      weak = fetcher;
    }
    EXPECT_FALSE(weak.expired()) << "a started fetcher keeps itself alive";
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return report.count > 0; }));
    EXPECT_TRUE(weak.expired()) << "the fetcher is released after its report";
  }

  testing_support::TempDir dir;
  testing_support::LoopbackServer server;
  testing_support::ResponseGate gate;
};

TEST_F(OAFetcherTest, StatusBelow400SucceedsAndErrorStatusesStillFinish) {
  Report ok, edge, bad;
  fetch(server.url("/status/399"), edge);
  fetch(server.url("/status/200"), ok);
  fetch(server.url("/status/400"), bad);
  EXPECT_TRUE(ok.finished && ok.didSucceed);
  EXPECT_EQ(ok.data, "body 200 signed");
  EXPECT_FALSE(ok.ticketHadBody);
  EXPECT_TRUE(edge.finished && edge.didSucceed);
  EXPECT_EQ(edge.status, 399);
  EXPECT_TRUE(bad.finished);
  EXPECT_FALSE(bad.didSucceed);
  EXPECT_EQ(bad.data, "body 400 signed");
  EXPECT_EQ(ok.count + edge.count + bad.count, 3);
}

TEST_F(OAFetcherTest, RedirectReportsTheFinalResponse) {
  Report report;
  fetch(server.url("/moved"), report);
  EXPECT_TRUE(report.finished && report.didSucceed);
  EXPECT_EQ(report.status, 200);
  EXPECT_EQ(report.data, "body 200 signed");
}

TEST_F(OAFetcherTest, SecondResponseDiscardsEarlierBytes) {
  // libcurl hands over no body before a later response, so the connection's reports are played
  // to the fetcher directly.
  Report report;
  auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request(server.url("/status/200")), recordInto(report));
  auto connection =
      net::UrlConnection::start(net::UrlRequest(*net::Url::parse(server.url("/"))), nullptr);
  net::UrlResponse first, second;
  first.setStatusCode(500);
  second.setStatusCode(201);
  fetcher->didReceiveResponse(*connection, first);
  fetcher->didReceiveData(*connection, "part one");
  fetcher->didReceiveResponse(*connection, second);
  fetcher->didReceiveData(*connection, "fresh ");
  fetcher->didReceiveData(*connection, "start");
  fetcher->didFinishLoading(*connection);
  EXPECT_EQ(report.count, 1);
  EXPECT_TRUE(report.didSucceed);
  EXPECT_EQ(report.status, 201);
  EXPECT_EQ(report.data, "fresh start");
}

TEST_F(OAFetcherTest, RefusedConnectionAndTimeOutReachTheFailCall) {
  Report refused, late;
  fetch("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/", refused);
  EXPECT_TRUE(refused.failed);
  EXPECT_FALSE(refused.hadResponse);
  ASSERT_TRUE(refused.error.has_value());
  EXPECT_EQ(refused.error->code(), net::Error::CannotConnectToHost);

  auto slow = request(server.url("/slow"));
  slow->setTimeoutInterval(0.3);
  auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(slow, recordInto(late));
  fetcher->start();
  fetcher.reset();
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return late.count > 0; }));
  EXPECT_TRUE(late.failed);
  ASSERT_TRUE(late.error.has_value());
  EXPECT_EQ(late.error->code(), net::Error::TimedOut);
  EXPECT_FALSE(late.didSucceed);
}

TEST_F(OAFetcherTest, NoDelegateCompletesSilently) {
  auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request(server.url("/status/200")), {});
  std::weak_ptr<OAAsynchronousDataFetcher> weak = fetcher;
  fetcher->start();
  fetcher.reset();
  EXPECT_TRUE(base::RunLoop::main().runUntilCondition([&] { return weak.expired(); }));
}

TEST_F(OAFetcherTest, CancelDeliversNothingAndReleasesTheFetcher) {
  Report report;
  auto fetcher = OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request(server.url("/status/200")), recordInto(report));
  std::weak_ptr<OAAsynchronousDataFetcher> weak = fetcher;
  fetcher->start();
  // The exchange completes on the worker while the main loop is not running.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  fetcher->cancel();
  fetcher.reset();
  EXPECT_TRUE(weak.expired());
  base::RunLoop::main().runFor(0.2);
  EXPECT_EQ(report.count, 0);
}

TEST_F(OAFetcherTest, SynchronousFetcherReportsTheSameWay) {
  Report ok, bad, refused;
  OADataFetcher::fetchDataWithRequest(request(server.url("/status/399")), recordInto(ok));
  OADataFetcher::fetchDataWithRequest(request(server.url("/status/500")), recordInto(bad));
  OADataFetcher::fetchDataWithRequest(
      request("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/"),
      recordInto(refused));
  EXPECT_TRUE(ok.finished && ok.didSucceed);
  EXPECT_EQ(ok.data, "body 399 signed");
  EXPECT_TRUE(bad.finished && !bad.didSucceed);
  EXPECT_TRUE(refused.failed && !refused.didSucceed);
  ASSERT_TRUE(refused.error.has_value());
  EXPECT_EQ(refused.error->code(), net::Error::CannotConnectToHost);
}

}  // namespace
