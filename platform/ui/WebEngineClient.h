#pragma once
#include "platform/net/Error.h"
#include "platform/net/UrlRequest.h"
#include "platform/ui/WebViewNavigationType.h"

namespace ui {

// What a web engine reports to the view that shows it. Every navigation, whether started by the
// program, by the page or by the history, is first put to engineShouldStartLoad; only an accepted
// one is started. A client may destroy the engine from inside any of these calls.
class WebEngineClient {
 public:
  virtual ~WebEngineClient() = default;
  virtual bool engineShouldStartLoad(const net::UrlRequest& request,
                                     WebViewNavigationType type) = 0;
  virtual void engineDidStartLoad() = 0;
  virtual void engineDidFinishLoad() = 0;
  virtual void engineDidFailLoad(const net::Error& error) = 0;
  // The page's title changed after its load finished.
  virtual void engineDidChangeTitle() {}
};

}  // namespace ui
