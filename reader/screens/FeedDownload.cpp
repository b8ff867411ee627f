#include "reader/screens/FeedDownload.h"

#include <memory>
#include <thread>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "reader/feed/HTTPConnection.h"

namespace {

FeedDownload::Waiter& currentWaiter() {
  static FeedDownload::Waiter waiter;
  return waiter;
}

void defaultWait(const std::function<bool()>& done) {
  while (!done()) base::RunLoop::main().runUntilCondition(done, 1.0);
}

}  // namespace

std::vector<FeedRecord> FeedDownload::run(const std::string& address) {
  // Touched on the main thread only: the worker posts its result here.
  struct Outcome {
    bool done = false;
    std::vector<FeedRecord> records;
  };
  auto outcome = std::make_shared<Outcome>();

  ui::Application& app = ui::Application::shared();
  app.beginIgnoringInteractionEvents();
  // The download shows the indicator itself, but on the worker: show it now so it is on screen
  // for the whole wait.
  app.setNetworkActivityIndicatorVisible(true);
  std::thread worker([address, outcome] {
    HTTPConnection connection;
    connection.startParsingWithURL(address);
    std::vector<FeedRecord> records = connection.getDataInArray();
    base::RunLoop::main().post([outcome, records = std::move(records)]() mutable {
      outcome->records = std::move(records);
      outcome->done = true;
    });
  });
  auto done = [&outcome] { return outcome->done; };
  if (currentWaiter()) {
    currentWaiter()(done);
  } else {
    defaultWait(done);
  }
  worker.join();
  app.endIgnoringInteractionEvents();
  return std::move(outcome->records);
}

FeedDownload::Waiter FeedDownload::setWaiter(Waiter waiter) {
  Waiter previous = std::move(currentWaiter());
  currentWaiter() = std::move(waiter);
  return previous;
}
