#include "reader/model/Utilities.h"

#include <array>
#include <ctime>
#include <optional>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "platform/store/UserDefaults.h"

namespace {

const std::string kBookmarkKey = "BOOKMARK_ITEM";
const std::string kStyleKey = "STYLE_VIEW";
const std::string kDefaultStyle = "grid";

std::optional<std::vector<ItemPtr>> decodeBookmarks(const store::Plist& stored,
                                                    std::string* error) {
  auto bytes = stored.view().asData();
  if (!bytes) {
    *error = "not an archive";
    return std::nullopt;
  }
  return store::KeyedUnarchiver::unarchiveArray<Item>(*bytes, error);
}

std::optional<std::string> decodeStyle(const store::Plist& stored, std::string* error) {
  auto bytes = stored.view().asData();
  if (!bytes) {
    *error = "not an archive";
    return std::nullopt;
  }
  return store::KeyedUnarchiver::unarchiveString(*bytes, error);
}

// --- Calendar of the feed dates ("Mon, 05 Dec 2011 ...") ---

constexpr std::array<const char*, 7> kWeekdays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int indexOf(const auto& names, std::string_view word) {
  for (size_t i = 0; i < names.size(); ++i)
    if (word == names[i]) return static_cast<int>(i);
  return -1;
}

// A whole number of 1 to `maxDigits` decimal digits, or nullopt.
std::optional<int> decimal(std::string_view word, size_t maxDigits) {
  if (word.empty() || word.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int daysInMonth(int month, int year) {  // month 0-11
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 1 && leap ? 29 : days[month];
}

// Moves words 0-3 (weekday, day, month, year) to the next calendar day. Unknown weekday or
// month names are kept as they are and only the day number moves. False when the day is not a
// day of the month.
bool moveToNextDay(std::vector<std::string>& words) {
  if (words.size() < 2) return false;
  auto day = decimal(words[1], 2);
  if (!day || *day < 1 || *day > 31) return false;
  int month = words.size() > 2 ? indexOf(kMonths, words[2]) : -1;
  std::optional<int> parsedYear = words.size() > 3 ? decimal(words[3], 4) : std::nullopt;
  const bool calendar = month >= 0 && parsedYear.has_value();
  const int year = parsedYear.value_or(0);
  if (calendar && *day > daysInMonth(month, year)) return false;

  std::string weekday = words[0];
  bool comma = base::endsWith(weekday, ",");
  if (comma) weekday.pop_back();
  int w = indexOf(kWeekdays, weekday);
  if (w >= 0) words[0] = std::string(kWeekdays[(w + 1) % 7]) + (comma ? "," : "");

  if (calendar && *day == daysInMonth(month, year)) {
    words[1] = "1";
    if (month == 11) {
      words[2] = kMonths[0];
      words[3] = std::to_string(year + 1);
    } else {
      words[2] = kMonths[month + 1];
    }
  } else {
    words[1] = std::to_string(*day + 1);
  }
  return true;
}

}  // namespace

Utilities::Utilities() : defaults_(store::UserDefaults::standard()) {}

Utilities::Utilities(store::UserDefaults& defaults) : defaults_(defaults) {}

std::vector<ItemPtr> Utilities::getBookmarkItem() const {
  auto stored = defaults_.objectForKey(kBookmarkKey);
  if (!stored) return {};
  std::string error;
  auto items = decodeBookmarks(*stored, &error);
  if (!items) {
    base::log(kBookmarkKey + " UNREADABLE: " + error);
    return {};
  }
  return std::move(*items);
}

bool Utilities::setBookmarkItem(const std::vector<ItemPtr>& items) {
  keepIfUnreadable(kBookmarkKey);
  return defaults_.setData(store::KeyedArchiver::archivedDataWithRootObject(items), kBookmarkKey);
}

std::string Utilities::getStyleView() {
  auto stored = defaults_.objectForKey(kStyleKey);
  if (!stored) {
    defaults_.setData(store::KeyedArchiver::archivedDataWithRootObject(kDefaultStyle), kStyleKey);
    return kDefaultStyle;
  }
  std::string error;
  auto style = decodeStyle(*stored, &error);
  if (!style) {
    base::log(kStyleKey + " UNREADABLE: " + error);
    return kDefaultStyle;
  }
  return *style;
}

bool Utilities::setStyleView(const std::string& style) {
  keepIfUnreadable(kStyleKey);
  bool saved =
      defaults_.setData(store::KeyedArchiver::archivedDataWithRootObject(style), kStyleKey);
  base::log("STYLE = " + getStyleView());
  return saved;
}

void Utilities::keepIfUnreadable(const std::string& key) {
  auto stored = defaults_.objectForKey(key);
  if (!stored) return;
  std::string error;
  bool readable = key == kBookmarkKey ? decodeBookmarks(*stored, &error).has_value()
                                      : decodeStyle(*stored, &error).has_value();
  if (readable) return;
  std::string prefix = key + ".corrupt-" + std::to_string(std::time(nullptr));
  std::string aside = prefix;
  for (int n = 1; defaults_.objectForKey(aside); ++n) aside = prefix + "-" + std::to_string(n);
  defaults_.setObject(std::move(*stored), aside);
  base::log(key + " UNREADABLE, KEPT AS " + aside);
}

std::string Utilities::convertTimeWithTime(std::string_view feedDate) {
  const std::string unchanged(feedDate);
  std::vector<std::string> parts = base::split(feedDate, ":");
  if (parts.size() < 3) return unchanged;

  // Part 0 ends with the two hour digits: "Mon, 05 Dec 2011 14".
  std::string& head = parts[0];
  auto hour =
      head.size() >= 2 ? decimal(std::string_view(head).substr(head.size() - 2), 2) : std::nullopt;
  if (!hour || *hour > 23) return unchanged;
  head.resize(head.size() - 2);

  // 12 hours ahead: hours from 12 fall on the next day (AM), earlier ones stay (PM); the
  // 12-hour dial shows 0 as 12.
  bool nextDay = *hour > 11;
  int shown = *hour % 12 == 0 ? 12 : *hour % 12;
  // Everything after the minutes, colons included: "00 EST".
  std::string rest = base::join(std::vector<std::string>(parts.begin() + 2, parts.end()), ":");
  base::replaceAll(rest, "EST", nextDay ? "AM" : "PM");
  std::string rebuilt = head + base::format("%02d", shown) + ":" + parts[1] + ":" + rest;
  if (!nextDay) return rebuilt;

  std::vector<std::string> words = base::split(rebuilt, " ");
  if (!moveToNextDay(words)) return unchanged;
  return base::join(words, " ");
}
