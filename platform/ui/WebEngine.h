#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/net/Url.h"
#include "platform/net/UrlRequest.h"
#include "platform/ui/WebEngineClient.h"

namespace graphics {
class Painter;
}

namespace ui {

// The page engine behind a WebView. The default engine is the headless one; the desktop shell
// installs a factory that makes WebKit-backed engines.
class WebEngine {
 public:
  using Factory = std::function<std::unique_ptr<WebEngine>()>;

  // Replaces the factory used by create(); an empty factory restores the headless engine.
  static void setFactory(Factory factory);
  static std::unique_ptr<WebEngine> create();

  virtual ~WebEngine() = default;

  // The client is not owned; it must outlive the engine or be cleared first.
  void setClient(WebEngineClient* client) { client_ = client; }
  WebEngineClient* client() const { return client_; }

  virtual void loadRequest(const net::UrlRequest& request) = 0;
  // Shows `html` as a page whose relative links resolve against `baseURL`.
  virtual void loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL) = 0;
  virtual void goBack() = 0;
  virtual void goForward() = 0;
  virtual void reload() = 0;
  virtual void stopLoading() = 0;

  virtual bool canGoBack() const = 0;
  virtual bool canGoForward() const = 0;
  virtual bool isLoading() const = 0;
  // The request being loaded, else the one of the page on screen.
  virtual std::optional<net::UrlRequest> currentRequest() const = 0;
  // Runs `script` in the page on screen and returns its result as a string ("" when none).
  virtual std::string evaluateScript(const std::string& script) = 0;

  virtual void setScalesPageToFit(bool scales) = 0;

  // Paints the page over `area` of the web view's drawing when the engine shows it as a picture
  // there rather than live; engines without pictures paint nothing.
  virtual void drawPicture(graphics::Painter&, const graphics::Rect& /*area*/) const {}

 private:
  WebEngineClient* client_ = nullptr;
};

}  // namespace ui
