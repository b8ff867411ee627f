#include "app/cli/ShareCommand.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "app/cli/TerminalShareDriver.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKSharer.h"

namespace {

std::optional<std::vector<uint8_t>> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

std::string typesOf(const SHKSharer& sharer) {
  std::string types;
  for (auto [can, name] : {std::pair{sharer.canShareURL(), "url"},
                           {sharer.canShareText(), "text"},
                           {sharer.canShareImage(), "image"},
                           {sharer.canShareFile(), "file"}}) {
    if (!can) continue;
    if (!types.empty()) types += ",";
    types += name;
  }
  return types;
}

}  // namespace

bool ShareCommand::handles(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "share" || args[0] == "logout" || args[0] == "services");
}

std::string ShareCommand::usage() {
  return "Sharing:\n"
         "  vemo share SERVICE (--url URL | --text TEXT | --image FILE | --file FILE [--mime "
         "TYPE])\n"
         "             [--title T] [--tags T] [--field KEY=VALUE]...\n"
         "  vemo logout [SERVICE]   forget the login of one service, or of all\n"
         "  vemo services           the share services with the kinds of item they take\n"
         "A share exits 0 when shared, 1 when it failed, 3 when cancelled or nothing was done,\n"
         "2 on a usage error or an unknown service.\n";
}

std::optional<ShareCommand> ShareCommand::parse(const std::vector<std::string>& args,
                                                std::string& error) {
  ShareCommand command;
  if (!handles(args)) {
    error = "not a sharing command";
    return std::nullopt;
  }
  if (args[0] == "services") {
    if (args.size() > 1) {
      error = "services takes no arguments";
      return std::nullopt;
    }
    return command;
  }
  if (args[0] == "logout") {
    command.command = Command::Logout;
    if (args.size() > 2) {
      error = "logout takes at most one service";
      return std::nullopt;
    }
    if (args.size() == 2) command.service = args[1];
    return command;
  }
  command.command = Command::Share;
  if (args.size() < 2 || args[1].starts_with("--")) {
    error = "share needs a service";
    return std::nullopt;
  }
  command.service = args[1];
  bool haveContent = false;
  static const std::map<std::string, Content> kContents = {{"--url", Content::URL},
                                                           {"--text", Content::Text},
                                                           {"--image", Content::Image},
                                                           {"--file", Content::File}};
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (auto content = kContents.find(option); content != kContents.end()) {
      if (haveContent) {
        error = "give one of --url, --text, --image, --file";
        return std::nullopt;
      }
      haveContent = true;
      command.content = content->second;
      command.value = value;
    } else if (option == "--mime") {
      command.mime = value;
    } else if (option == "--title") {
      command.title = value;
    } else if (option == "--tags") {
      command.tags = value;
    } else if (option == "--field") {
      size_t eq = value.find('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--field needs KEY=VALUE";
        return std::nullopt;
      }
      command.fields.emplace_back(value.substr(0, eq), value.substr(eq + 1));
    } else {
      error = "unknown option " + option;
      return std::nullopt;
    }
  }
  if (!haveContent) {
    error = "give one of --url, --text, --image, --file";
    return std::nullopt;
  }
  if (command.mime && command.content != Content::File) {
    error = "--mime goes with --file";
    return std::nullopt;
  }
  return command;
}

int ShareCommand::run(std::istream& in, std::ostream& out, std::ostream& err,
                      bool interactive) const {
  switch (command) {
    case Command::Services:
      for (const char* list : {"services", "actions"}) {
        for (const auto& name : SHK::registeredSharers(list)) {
          if (auto sharer = SHKSharer::create(name)) {
            out << name << "\t" << sharer->sharerTitle() << "\t" << typesOf(*sharer) << "\n";
          }
        }
      }
      return 0;
    case Command::Logout:
      if (service.empty()) {
        SHK::logoutOfAll();
        return 0;
      }
      if (!SHKSharer::isRegistered(service)) {
        err << "vemo: no share service " << service << "\n";
        return 2;
      }
      SHK::logoutOfService(service);
      return 0;
    case Command::Share:
      return share(in, out, err, interactive);
  }
  return 2;
}

int ShareCommand::share(std::istream& in, std::ostream& out, std::ostream& err,
                        bool interactive) const {
  auto probe = SHKSharer::create(service);
  if (!probe) {
    err << "vemo: no share service " << service << "\n";
    return 2;
  }
  std::shared_ptr<SHKItem> item;
  switch (content) {
    case Content::URL: {
      auto url = net::Url::parse(net::escapeAddress(value));
      if (!url || url->scheme().empty()) {
        err << "vemo: not an address: " << value << "\n";
        return 2;
      }
      item = SHKItem::URL(*url, title);
      break;
    }
    case Content::Text:
      item = SHKItem::text(value);
      if (title) item->setTitle(title);
      break;
    case Content::Image: {
      auto image = graphics::Image::fromFile(value);
      if (!image) {
        err << "vemo: not a picture: " << value << "\n";
        return 2;
      }
      item = SHKItem::image(image, title);
      break;
    }
    case Content::File: {
      auto data = readFile(value);
      if (!data) {
        err << "vemo: cannot read " << value << "\n";
        return 2;
      }
      std::string name = value.substr(value.find_last_of('/') + 1);
      item =
          SHKItem::file(std::move(*data), name, mime.value_or("application/octet-stream"), title);
      break;
    }
  }
  if (!probe->canShareType(item->shareType())) {
    err << "vemo: " << service << " does not share this kind of item\n";
    return 2;
  }
  probe.reset();
  if (tags) item->setTags(tags);

  std::map<std::string, std::string> values(fields.begin(), fields.end());
  if (title) values["title"] = *title;
  if (tags) values["tags"] = *tags;
  if (item->text()) values.emplace("text", *item->text());
  TerminalShareDriver driver(in, out, err, interactive);
  driver.setShareValues(std::move(values));
  return driver.run([&] { return SHKSharer::shareItem(service, item); });
}
