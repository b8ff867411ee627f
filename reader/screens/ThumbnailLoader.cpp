#include "reader/screens/ThumbnailLoader.h"

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/net/Url.h"
#include "platform/net/UrlConnection.h"
#include "platform/net/UrlRequest.h"

// One picture being fetched: collects the body and hands it to the loader at the end.
class ThumbnailLoader::Fetch : public net::UrlConnectionDelegate {
 public:
  Fetch(ThumbnailLoader& loader, Result result) : loader_(loader), result_(std::move(result)) {}

  void start(const net::Url& url) {
    net::UrlRequest request(url, net::UrlRequest::CachePolicy::UseProtocolCachePolicy,
                            kFetchTimeoutSeconds);
    connection_ = net::UrlConnection::start(std::move(request), this);
    if (!connection_) loader_.fetched(this, {});
  }
  Result takeResult() { return std::move(result_); }

  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse&) override {
    body_.clear();  // a redirect's body is not the picture
  }
  void didReceiveData(net::UrlConnection&, std::string_view data) override { body_.append(data); }
  void didFinishLoading(net::UrlConnection&) override { loader_.fetched(this, std::move(body_)); }
  void didFailWithError(net::UrlConnection&, const net::Error&) override {
    loader_.fetched(this, {});
  }

 private:
  ThumbnailLoader& loader_;
  Result result_;
  std::string body_;
  std::unique_ptr<net::UrlConnection> connection_;
};

ThumbnailLoader& ThumbnailLoader::shared() {
  // Never destroyed: the decoder may still be busy when the process exits.
  static ThumbnailLoader* loader = new ThumbnailLoader();
  return *loader;
}

ThumbnailLoader::ThumbnailLoader() : decoder_([this] { decodeLoop(); }) {}

ThumbnailLoader::~ThumbnailLoader() {
  fetches_.clear();
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    decodes_.clear();
  }
  wake_.notify_all();
  decoder_.join();
}

void ThumbnailLoader::fetch(std::string address, Result result) {
  base::log("IMAGE LOADING THREAD START!");
  base::replaceAll(address, " ", "%20");
  auto url = net::Url::parse(address);
  if (!url) {
    decodeLater({std::string(), std::move(result)});
    return;
  }
  auto fetch = std::make_unique<Fetch>(*this, std::move(result));
  Fetch* raw = fetch.get();
  fetches_.emplace(raw, std::move(fetch));
  raw->start(*url);
}

void ThumbnailLoader::fetched(Fetch* fetch, std::string data) {
  auto it = fetches_.find(fetch);
  if (it == fetches_.end()) return;
  decodeLater({std::move(data), fetch->takeResult()});
  // Ends the fetch's connection from inside its own report, which the loader allows.
  fetches_.erase(it);
}

void ThumbnailLoader::decodeLater(Decode decode) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    decodes_.push_back(std::move(decode));
  }
  wake_.notify_one();
}

void ThumbnailLoader::decodeLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !decodes_.empty(); });
    if (stopping_) return;
    Decode decode = std::move(decodes_.front());
    decodes_.pop_front();
    lock.unlock();
    graphics::ImagePtr image =
        decode.data.empty() ? nullptr : graphics::Image::fromData(decode.data);
    decode.result(std::move(image));
    lock.lock();
  }
}
