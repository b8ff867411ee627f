#include "app/cli/CliApp.h"

#include <ostream>
#include <variant>

#include "app/cli/RecordFormat.h"
#include "app/servers/LoopbackServers.h"
#include "platform/base/Log.h"
#include "reader/feed/HTTPConnection.h"
#include "reader/model/Utilities.h"

namespace {

const char* const kMenuPath = "/mobi/app_menu.php";
const char* const kHomePath = "/Home.rss";

// A link with a scheme is used as it is; anything else is a path on the site.
std::string addressOn(const std::string& site, const std::string& link) {
  if (link.find("://") != std::string::npos) return link;
  return site + (link.starts_with('/') ? link : "/" + link);
}

}  // namespace

int CliApp::run(const CommandLine& line) {
  if (line.log) base::Log::setEnabled(true);
  if (line.command == CommandLine::Command::Help) {
    out_ << CommandLine::usage();
    return 0;
  }
  if (line.command == CommandLine::Command::Saved) return printSaved(line.json);

  std::unique_ptr<LoopbackSite> demo;
  std::string site = line.site;
  if (site.empty()) {
    std::string error;
    demo = LoopbackServers::startDemoSite(error);
    if (!demo) {
      err_ << "vemo: could not start the demo site (" << error << ")\n";
      return 1;
    }
    site = demo->baseUrl();
  }
  if (line.command == CommandLine::Command::Menu) return printMenu(site, line.json);
  return printFeed(site, line.link, line.json);
}

int CliApp::printMenu(const std::string& site, bool json) {
  std::string address = site + kMenuPath;
  HTTPConnection connection;
  connection.startParsingWithURL(address);
  std::vector<ServicePtr> services;
  for (const FeedRecord& record : connection.getDataInArray()) {
    if (auto service = std::get_if<ServicePtr>(&record)) services.push_back(*service);
  }
  if (services.empty()) {
    err_ << "vemo: could not load the menu from " << address << ": "
         << failureReason(connection, "categories") << "\n";
    return 1;
  }
  out_ << (json ? RecordFormat::servicesAsJson(services) : RecordFormat::servicesAsText(services));
  return 0;
}

int CliApp::printFeed(const std::string& site, const std::string& link, bool json) {
  std::string address = addressOn(site, link.empty() ? kHomePath : link);
  HTTPConnection connection;
  connection.startParsingWithURL(address);
  std::vector<ItemPtr> items;
  for (const FeedRecord& record : connection.getDataInArray()) {
    if (auto item = std::get_if<ItemPtr>(&record)) items.push_back(*item);
  }
  if (items.empty()) {
    err_ << "vemo: could not load the feed " << address << ": "
         << failureReason(connection, "stories") << "\n";
    return 1;
  }
  out_ << (json ? RecordFormat::itemsAsJson(items) : RecordFormat::itemsAsText(items));
  return 0;
}

int CliApp::printSaved(bool json) {
  std::vector<ItemPtr> items = Utilities().getBookmarkItem();
  if (json) {
    out_ << RecordFormat::itemsAsJson(items);
  } else if (items.empty()) {
    out_ << "No saved stories.\n";
  } else {
    out_ << RecordFormat::itemsAsText(items);
  }
  return 0;
}

std::string CliApp::failureReason(const HTTPConnection& connection, const char* what) {
  if (!connection.downloadError().ok()) return connection.downloadError().description();
  if (connection.parseError())
    return "the document is not well-formed XML (" + connection.parseError()->describe() + ")";
  return std::string("the document holds no ") + what;
}
