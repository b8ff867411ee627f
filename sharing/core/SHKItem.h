#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/store/Plist.h"

// Kinds of share. The values are stored in the offline queue and index the favourites lists,
// so they never change.
enum SHKShareType : int32_t {
  SHKShareTypeUndefined = 0,
  SHKShareTypeURL = 1,
  SHKShareTypeText = 2,
  SHKShareTypeImage = 3,
  SHKShareTypeFile = 4,
};

// The thing being shared (a link, text, picture or file), its title and tags, and the extra
// values share forms collect per service. It converts to and from a property-list dictionary
// for the offline queue; picture and file contents are not part of that dictionary.
class SHKItem {
 public:
  SHKItem() = default;

  static std::shared_ptr<SHKItem> URL(net::Url url,
                                      std::optional<std::string> title = std::nullopt);
  static std::shared_ptr<SHKItem> text(std::string text);
  static std::shared_ptr<SHKItem> image(graphics::ImagePtr image,
                                        std::optional<std::string> title = std::nullopt);
  static std::shared_ptr<SHKItem> file(std::vector<uint8_t> data, std::string filename,
                                       std::string mimeType,
                                       std::optional<std::string> title = std::nullopt);

  int32_t shareType() const { return shareType_; }
  void setShareType(int32_t type) { shareType_ = type; }
  const std::optional<net::Url>& url() const { return url_; }
  void setURL(std::optional<net::Url> url) { url_ = std::move(url); }
  const graphics::ImagePtr& image() const { return image_; }
  void setImage(graphics::ImagePtr image) { image_ = std::move(image); }
  const std::optional<std::string>& title() const { return title_; }
  void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
  const std::optional<std::string>& text() const { return text_; }
  void setText(std::optional<std::string> text) { text_ = std::move(text); }
  const std::optional<std::string>& tags() const { return tags_; }
  void setTags(std::optional<std::string> tags) { tags_ = std::move(tags); }
  const std::optional<std::vector<uint8_t>>& data() const { return data_; }
  void setData(std::optional<std::vector<uint8_t>> data) { data_ = std::move(data); }
  const std::optional<std::string>& mimeType() const { return mimeType_; }
  void setMimeType(std::optional<std::string> type) { mimeType_ = std::move(type); }
  const std::optional<std::string>& filename() const { return filename_; }
  void setFilename(std::optional<std::string> name) { filename_ = std::move(name); }
  // A dictionary, or nothing until the first custom value is set.
  const std::optional<store::Plist>& custom() const { return custom_; }
  void setCustom(std::optional<store::Plist> custom);

  std::optional<store::Plist> customValueForKey(const std::string& key) const;
  // Creates the custom store when needed; a value replaces the old one, nothing removes it.
  void setCustomValue(std::optional<store::Plist> value, const std::string& key);
  void setCustomValue(const std::string& value, const std::string& key) {
    setCustomValue(store::Plist::string(value), key);
  }
  // True only for the string "1", which switch fields store when on.
  bool customBoolForSwitchKey(const std::string& key) const;

  // The keys "shareType", "custom", "URL" (escapes decoded), "title", "text", "tags".
  store::Plist dictionaryRepresentation() const;
  // Rebuilds an item from such a dictionary. Values of the wrong type are skipped; anything
  // that is not a dictionary gives an empty item.
  static std::shared_ptr<SHKItem> itemFromDictionary(store::PlistView dictionary);

 private:
  int32_t shareType_ = SHKShareTypeUndefined;
  std::optional<net::Url> url_;
  graphics::ImagePtr image_;
  std::optional<std::string> title_;
  std::optional<std::string> text_;
  std::optional<std::string> tags_;
  std::optional<std::vector<uint8_t>> data_;
  std::optional<std::string> mimeType_;
  std::optional<std::string> filename_;
  std::optional<store::Plist> custom_;
};
