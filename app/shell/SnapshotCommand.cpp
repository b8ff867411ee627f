#include "app/shell/SnapshotCommand.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/shell/ReaderSession.h"
#include "app/shell/ScreenDriver.h"
#include "platform/net/UrlLoader.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewTreeJson.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "reader/model/Utilities.h"

namespace {

// The text of the page's <title> element, "" when it has none.
std::string titleOf(const std::string& html) {
  size_t open = html.find("<title");
  if (open == std::string::npos) open = html.find("<TITLE");
  if (open == std::string::npos) return {};
  open = html.find('>', open);
  size_t close = html.find("</", open);
  if (open == std::string::npos || close == std::string::npos) return {};
  return html.substr(open + 1, close - open - 1);
}

// Ends the headless engine's running load with the page the site serves: its title becomes the
// page's title, a failed download a failed load.
void finishHeadlessLoad(ui::WebView& view) {
  auto* engine = dynamic_cast<ui::HeadlessWebEngine*>(&view.engine());
  if (!engine || !engine->isLoading()) return;
  std::optional<net::UrlRequest> request = engine->currentRequest();
  if (!request) return;
  net::UrlRequest fetch = *request;
  net::LoadResult result = net::UrlLoader::sendSynchronousRequest(fetch);
  if (result.error) {
    engine->failLoad(result.error);
  } else {
    engine->finishLoad(titleOf(result.body));
  }
}

void collectWebPages(ui::View& view, nlohmann::json& pages) {
  if (auto* web = dynamic_cast<ui::WebView*>(&view)) {
    graphics::Point origin = web->convertPointToView({0, 0}, nullptr);
    std::optional<net::UrlRequest> request = web->request();
    pages.push_back({{"frame",
                      {{"x", origin.x},
                       {"y", origin.y},
                       {"width", web->frame().width()},
                       {"height", web->frame().height()}}},
                     {"url", request ? request->url().absoluteString() : ""},
                     {"loading", web->isLoading()},
                     {"title", web->stringByEvaluatingJavaScriptFromString("document.title")}});
  }
  for (const auto& child : view.subviews()) collectWebPages(*child, pages);
}

bool reach(const ShellOptions& options, ScreenDriver& driver) {
  const std::string& screen = options.screen;
  if (screen == "home") return true;
  if (screen == "categories") return driver.openCategories();
  if (screen == "subcategories") {
    return driver.openCategories() && driver.openSubCategories(options.index);
  }
  if (screen == "stories") return driver.openCategories() && driver.openCategory(options.index);
  if (screen == "lead") return driver.openLead(options.index);
  if (screen == "article") return driver.openLead(options.index) && driver.openArticle();
  if (screen == "saved") return driver.openSaved();
  return false;
}

}  // namespace

std::filesystem::path SnapshotCommand::jsonPathFor(const std::filesystem::path& png) {
  std::filesystem::path json = png;
  return json.replace_extension(".json");
}

int SnapshotCommand::run(const ShellOptions& options) {
  ReaderSession session;
  std::string error;
  if (!session.chooseSite(options.site, error)) {
    err_ << "vemo: " << error << "\n";
    return 1;
  }
  session.launch();
  ScreenDriver driver(session);
  if (!driver.waitForHome()) {
    err_ << "vemo: " << driver.error() << "\n";
    return 1;
  }
  const std::string storedStyle = driver.homeStyle();
  bool ok = (options.style.empty() || driver.chooseStyle(options.style)) &&
            (!options.landscape || driver.turnToLandscape()) && reach(options, driver);
  if (ok) {
    if (ui::WebView* web = ScreenDriver::findWebView(session.window())) {
      finishHeadlessLoad(*web);
      session.settle(10, 0.2);
    }
  }
  if (!options.style.empty() && options.style != storedStyle) Utilities().setStyleView(storedStyle);
  if (!ok) {
    err_ << "vemo: cannot show " << options.screen << ": " << driver.error() << "\n";
    return 1;
  }

  const std::filesystem::path png = options.out;
  const std::filesystem::path json = jsonPathFor(png);
  // As the window does before it paints.
  session.window().layoutIfNeeded();
  ui::RenderOptions render;
  render.scale = options.scale > 0 ? options.scale : 1;
  nlohmann::json tree = ui::ViewTreeJson::dump(session.window());
  nlohmann::json pages = nlohmann::json::array();
  collectWebPages(session.window(), pages);
  nlohmann::json doc = {{"screen", options.screen},
                        {"site", session.siteAddress()},
                        {"landscape", options.landscape},
                        {"style", options.style.empty() ? storedStyle : options.style},
                        {"webPages", pages},
                        {"tree", tree}};
  std::ofstream file(json);
  file << doc.dump(2) << "\n";
  if (!file || !ui::Renderer::renderToPng(session.window(), png, render)) {
    err_ << "vemo: cannot write " << png.string() << "\n";
    return 1;
  }
  out_ << png.string() << "\n" << json.string() << "\n";
  return 0;
}
