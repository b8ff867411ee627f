#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace store {
class KeyedArchiver;
class KeyedUnarchiver;
}  // namespace store

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

  // Keyed coding: the seven fields under "ITEM_TITLE" … "ITEM_IMGLINK", an absent one as nil.
  // Saved stories on disk use exactly these keys and the class name "Item".
  static std::vector<std::string> keyedClassNames() { return {"Item", "NSObject"}; }
  void encodeWithCoder(store::KeyedArchiver& coder) const;
  static std::shared_ptr<Item> initWithCoder(store::KeyedUnarchiver& coder);
};

using ItemPtr = std::shared_ptr<Item>;
