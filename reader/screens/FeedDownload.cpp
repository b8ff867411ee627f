#include "reader/screens/FeedDownload.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "reader/feed/HTTPConnection.h"

namespace {

// Downloads asked for whose continuation has not run yet; touched on the main thread only.
int outstanding = 0;

// On the main loop, in the order the downloads were asked for.
void finish(const FeedDownload::Continuation& then, std::vector<FeedRecord> records) {
  --outstanding;
  base::RunLoop::main().endOutsideWork();
  ui::Application::shared().endIgnoringInteractionEvents();
  if (then) then(std::move(records));
}

// The one thread that downloads, started on first use. It is never stopped: a download may still
// be under way when the process exits.
class DownloadThread {
 public:
  struct Job {
    std::string address;
    FeedDownload::Continuation then;
  };

  static DownloadThread& shared() {
    static DownloadThread* thread = new DownloadThread();
    return *thread;
  }

  void add(Job job) {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
    wake_.notify_one();
  }

 private:
  void work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return !jobs_.empty(); });
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      HTTPConnection connection;
      connection.startParsingWithURL(job.address);
      base::RunLoop::main().post(
          [then = std::move(job.then), records = connection.getDataInArray()]() mutable {
            finish(then, std::move(records));
          });
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  std::thread thread_;
};

}  // namespace

void FeedDownload::start(const std::string& address, Continuation then) {
  ui::Application& app = ui::Application::shared();
  app.beginIgnoringInteractionEvents();
  // The download shows the indicator itself, but on the worker and maybe after an earlier one:
  // show it now so that it is on screen from the start.
  app.setNetworkActivityIndicatorVisible(true);
  base::RunLoop::main().beginOutsideWork();
  ++outstanding;
  DownloadThread::shared().add({address, std::move(then)});
}

bool FeedDownload::busy() {
  return outstanding > 0;
}
