#pragma once
#include <memory>
#include <optional>
#include <string>

// One story. Fields the feed did not fill are empty strings; a field missing from an archive
// (an older saved story, say) is absent.
class Item {
 public:
  std::optional<std::string> title;
  std::optional<std::string> link;
  std::optional<std::string> description;
  std::optional<std::string> pubDate;
  std::optional<std::string> guid;
  std::optional<std::string> avatar;
  std::optional<std::string> imgLink;
};

using ItemPtr = std::shared_ptr<Item>;
