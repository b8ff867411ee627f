#include "app/cli/RecordFormat.h"

#include <nlohmann/json.hpp>

#include "platform/base/Strings.h"

namespace {

nlohmann::ordered_json optionalText(const std::optional<std::string>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// Feed text may hold bytes that are not UTF-8 (an archive from elsewhere): replace, don't fail.
std::string dump(const nlohmann::ordered_json& json) {
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// Summaries keep the feed's line breaks; indent every line of a block the same way.
std::string indented(const std::string& text, const std::string& indent) {
  std::string out;
  for (const std::string& line : base::split(base::trim(text), "\n")) {
    out += indent + base::trim(line) + "\n";
  }
  return out;
}

}  // namespace

std::string RecordFormat::servicesAsJson(const std::vector<ServicePtr>& services) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const ServicePtr& service : services) {
    nlohmann::ordered_json subs = nlohmann::ordered_json::array();
    for (const SubServicePtr& sub : service->subService)
      subs.push_back({{"name", sub->name}, {"link", sub->link}});
    out.push_back({{"name", service->name}, {"link", service->link}, {"subServices", subs}});
  }
  return dump(out);
}

std::string RecordFormat::itemsAsJson(const std::vector<ItemPtr>& items) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const ItemPtr& item : items) {
    out.push_back({{"title", optionalText(item->title)},
                   {"link", optionalText(item->link)},
                   {"description", optionalText(item->description)},
                   {"pubDate", optionalText(item->pubDate)},
                   {"guid", optionalText(item->guid)},
                   {"avatar", optionalText(item->avatar)},
                   {"imgLink", optionalText(item->imgLink)}});
  }
  return dump(out);
}

std::string RecordFormat::servicesAsText(const std::vector<ServicePtr>& services) {
  std::string out;
  for (const ServicePtr& service : services) {
    out += service->name + "  <" + service->link + ">\n";
    for (const SubServicePtr& sub : service->subService)
      out += "    " + sub->name + "  <" + sub->link + ">\n";
  }
  return out;
}

std::string RecordFormat::itemsAsText(const std::vector<ItemPtr>& items) {
  std::string out;
  int number = 0;
  for (const ItemPtr& item : items) {
    if (number > 0) out += "\n";
    out += std::to_string(++number) + ". " + base::trim(item->title.value_or("")) + "\n";
    if (item->pubDate && !item->pubDate->empty()) out += "   " + base::trim(*item->pubDate) + "\n";
    if (item->link && !item->link->empty()) out += "   " + *item->link + "\n";
    if (item->avatar) out += "   Picture: " + *item->avatar + "\n";
    if (item->description && !base::trim(*item->description).empty())
      out += indented(*item->description, "   ");
  }
  return out;
}
