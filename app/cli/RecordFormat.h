#pragma once
#include <string>
#include <vector>

#include "reader/model/Item.h"
#include "reader/model/Service.h"

// Text and JSON forms of the records the commands print.
class RecordFormat {
 public:
  // [{name, link, subServices: [{name, link}]}]
  static std::string servicesAsJson(const std::vector<ServicePtr>& services);
  // [{title, link, description, pubDate, guid, avatar, imgLink}], absent fields null.
  static std::string itemsAsJson(const std::vector<ItemPtr>& items);

  // One category per line, its sub-categories indented below it.
  static std::string servicesAsText(const std::vector<ServicePtr>& services);
  // One numbered block per story: title, date, link, picture, summary.
  static std::string itemsAsText(const std::vector<ItemPtr>& items);
};
