#include "app/shell/DemoReport.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/cli/CliApp.h"
#include "app/servers/LoopbackServers.h"
#include "app/shell/SnapshotCommand.h"
#include "reader/feed/HTTPConnection.h"
#include "reader/model/Service.h"
#include "reader/screens/NewsSite.h"

namespace {

// The first category of the site's menu that has sub-categories, else 0.
int categoryWithSubCategories(const std::string& site) {
  HTTPConnection connection;
  connection.startParsingWithURL(site + std::string(NewsSite::kMenuPath));
  int index = 0;
  for (const FeedRecord& record : connection.getDataInArray()) {
    if (auto service = std::get_if<ServicePtr>(&record)) {
      if (!(*service)->subService.empty()) return index;
      ++index;
    }
  }
  return 0;
}

std::filesystem::path makeOutDir(const std::string& wanted) {
  if (!wanted.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(wanted, ec);
    return wanted;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "vemo-demo-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

}  // namespace

int DemoReport::run(const ShellOptions& options) {
  std::unique_ptr<LoopbackSite> demo;
  std::string site = options.site;
  if (site.empty()) {
    std::string error;
    demo = LoopbackServers::startDemoSite(error);
    if (!demo) {
      err_ << "vemo: could not serve the demo site (" << error << ")\n";
      return 1;
    }
    site = demo->baseUrl();
  }
  std::filesystem::path dir = makeOutDir(options.outDir);
  if (dir.empty()) {
    err_ << "vemo: cannot make a folder for the pictures\n";
    return 1;
  }

  struct Shot {
    const char* file;
    const char* screen;
    const char* style;
    bool landscape;
    int index;
  };
  const int sub = categoryWithSubCategories(site);
  const Shot shots[] = {
      {"home-grid", "home", "grid", false, 0},
      {"home-list", "home", "list", false, 0},
      {"home-landscape", "home", "", true, 0},
      {"categories", "categories", "", false, 0},
      {"subcategories", "subcategories", "", false, sub},
      {"stories", "stories", "", false, 0},
      {"lead", "lead", "", false, 0},
      {"article", "article", "", false, 0},
      {"saved", "saved", "", false, 0},
  };
  out_ << "Screens of " << site << (options.site.empty() ? " (the demo site)" : "") << ":\n";
  int status = 0;
  for (const Shot& shot : shots) {
    ShellOptions one = options;
    one.command = ShellOptions::Command::Snapshot;
    one.site = site;
    one.screen = shot.screen;
    one.style = shot.style;
    one.landscape = shot.landscape;
    one.index = shot.index;
    one.out = (dir / (std::string(shot.file) + ".png")).string();
    std::ostringstream written;
    if (SnapshotCommand(written, err_).run(one) == 0) {
      out_ << "  " << shot.file << ": " << one.out
           << " (view tree: " << SnapshotCommand::jsonPathFor(one.out).string() << ")\n";
    } else {
      out_ << "  " << shot.file << ": could not be shown\n";
      status = 1;
    }
  }

  out_ << "\nThe home feed:\n";
  CommandLine feed;
  feed.command = CommandLine::Command::Feed;
  feed.site = site;
  if (CliApp(out_, err_).run(feed) != 0) status = 1;

  out_ << "\nThis is the reader without a display. On a desktop, run `vemo` for its window\n"
          "(`vemo --help` lists the options); with no display at hand, `xvfb-run -a vemo` runs\n"
          "it on a virtual one.\n";
  return status;
}
