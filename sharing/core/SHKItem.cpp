#include "sharing/core/SHKItem.h"

#include <glib.h>

#include <cmath>
#include <limits>

namespace {

std::optional<int32_t> toInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(value);
}

// The integer a stored share type stands for. Besides numbers, a number written as text
// ("2", " 3") is read like the platform's intValue does; anything else, or a value out of
// range, is 0.
int32_t shareTypeFrom(store::PlistView value) {
  switch (value.type()) {
    case store::PlistType::Integer:
      return toInt32(*value.asInteger()).value_or(0);
    case store::PlistType::Boolean:
      return *value.asBool() ? 1 : 0;
    case store::PlistType::Real: {
      double d = *value.asReal();
      if (!std::isfinite(d) || std::fabs(d) >= 2147483648.0) return 0;
      return static_cast<int32_t>(d);
    }
    case store::PlistType::String: {
      std::string s = *value.asString();
      size_t i = s.find_first_not_of(" \t\n");
      if (i == std::string::npos) return 0;
      bool negative = s[i] == '-';
      if (s[i] == '-' || s[i] == '+') ++i;
      int64_t n = 0;
      for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > (int64_t{1} << 32)) return 0;
      }
      return toInt32(negative ? -n : n).value_or(0);
    }
    default:
      return 0;
  }
}

bool isText(const std::string& s) {
  return g_utf8_validate_len(s.data(), s.size(), nullptr);
}

// A string value that is text; bytes that are not UTF-8 would not survive being stored again.
std::optional<std::string> stringFrom(store::PlistView value) {
  if (value.type() != store::PlistType::String) return std::nullopt;
  std::optional<std::string> text = value.asString();
  if (!isText(*text)) return std::nullopt;
  return text;
}

// The custom values that can be stored again: text keys with text or plain values (forms
// store strings); containers and bytes that are not UTF-8 are dropped.
store::Plist usableCustomValues(store::PlistView custom) {
  store::Plist usable = store::Plist::dictionary();
  for (const auto& [key, value] : custom.entries()) {
    if (!isText(key)) continue;
    switch (value.type()) {
      case store::PlistType::String:
        // Made afresh: a parsed node may hold more bytes than its text.
        if (auto text = stringFrom(value)) usable.set(key, store::Plist::string(*text));
        break;
      case store::PlistType::Array:
      case store::PlistType::Dictionary:
      case store::PlistType::None:
        break;
      default:
        usable.set(key, *store::Plist::copyOf(value));
    }
  }
  return usable;
}

// A stored address parses back as it is when it can; one whose escapes were decoded into
// characters a URL may not hold (a blank, non-ASCII letters) is escaped again first.
std::optional<net::Url> addressFromStored(const std::string& stored) {
  if (auto url = net::Url::parse(stored)) return url;
  return net::Url::parse(net::escapeAddress(stored));
}

// The address as stored: escapes decoded. When the decoded bytes are not text (invalid UTF-8
// or a NUL, which a property-list string cannot carry) or would not parse back (a decoded "#"
// making a second fragment), it is stored as written so the link is not lost.
std::string storedAddress(const net::Url& url) {
  const std::string& written = url.absoluteString();
  std::string decoded = net::unescape(written);
  bool text = isText(decoded);
  return text && addressFromStored(decoded) ? decoded : written;
}

}  // namespace

std::shared_ptr<SHKItem> SHKItem::URL(net::Url url, std::optional<std::string> title) {
  auto item = std::make_shared<SHKItem>();
  item->shareType_ = SHKShareTypeURL;
  item->url_ = std::move(url);
  item->title_ = std::move(title);
  return item;
}

std::shared_ptr<SHKItem> SHKItem::text(std::string text) {
  auto item = std::make_shared<SHKItem>();
  item->shareType_ = SHKShareTypeText;
  item->text_ = std::move(text);
  return item;
}

std::shared_ptr<SHKItem> SHKItem::image(graphics::ImagePtr image,
                                        std::optional<std::string> title) {
  auto item = std::make_shared<SHKItem>();
  item->shareType_ = SHKShareTypeImage;
  item->image_ = std::move(image);
  item->title_ = std::move(title);
  return item;
}

std::shared_ptr<SHKItem> SHKItem::file(std::vector<uint8_t> data, std::string filename,
                                       std::string mimeType, std::optional<std::string> title) {
  auto item = std::make_shared<SHKItem>();
  item->shareType_ = SHKShareTypeFile;
  item->data_ = std::move(data);
  item->filename_ = std::move(filename);
  item->mimeType_ = std::move(mimeType);
  item->title_ = std::move(title);
  return item;
}

void SHKItem::setCustom(std::optional<store::Plist> custom) {
  if (custom && custom->type() != store::PlistType::Dictionary) custom.reset();
  custom_ = std::move(custom);
}

std::optional<store::Plist> SHKItem::customValueForKey(const std::string& key) const {
  if (!custom_) return std::nullopt;
  return store::Plist::copyOf(custom_->view().get(key));
}

void SHKItem::setCustomValue(std::optional<store::Plist> value, const std::string& key) {
  if (!custom_) custom_ = store::Plist::dictionary();
  if (value)
    custom_->set(key, std::move(*value));
  else
    custom_->remove(key);
}

bool SHKItem::customBoolForSwitchKey(const std::string& key) const {
  if (!custom_) return false;
  store::PlistView value = custom_->view().get(key);
  return value.type() == store::PlistType::String && *value.asString() == "1";
}

store::Plist SHKItem::dictionaryRepresentation() const {
  store::Plist dict = store::Plist::dictionary();
  dict.set("shareType", store::Plist::integer(shareType_));
  if (custom_) dict.set("custom", *custom_);
  if (url_) dict.set("URL", store::Plist::string(storedAddress(*url_)));
  if (title_) dict.set("title", store::Plist::string(*title_));
  if (text_) dict.set("text", store::Plist::string(*text_));
  if (tags_) dict.set("tags", store::Plist::string(*tags_));
  return dict;
}

std::shared_ptr<SHKItem> SHKItem::itemFromDictionary(store::PlistView dictionary) {
  auto item = std::make_shared<SHKItem>();
  if (dictionary.type() != store::PlistType::Dictionary) return item;
  item->shareType_ = shareTypeFrom(dictionary.get("shareType"));
  if (auto address = stringFrom(dictionary.get("URL"))) item->url_ = addressFromStored(*address);
  item->title_ = stringFrom(dictionary.get("title"));
  item->text_ = stringFrom(dictionary.get("text"));
  item->tags_ = stringFrom(dictionary.get("tags"));
  store::PlistView custom = dictionary.get("custom");
  if (custom.type() == store::PlistType::Dictionary) item->custom_ = usableCustomValues(custom);
  return item;
}
