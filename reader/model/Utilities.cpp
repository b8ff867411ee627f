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

// Moves the first words of `text` (weekday, day, month, year; words are separated by single
// blanks) to the next calendar day, in place. Unknown weekday or month names are kept as they are
// and only the day number moves. False, with `text` untouched, when the day is not a day of the
// month.
bool moveToNextDay(std::string& text) {
  struct Span {
    size_t pos = 0, length = 0;
  };
  std::array<Span, 4> spans;
  size_t count = 0;
  for (size_t pos = 0; count < spans.size();) {
    size_t blank = text.find(' ', pos);
    spans[count++] = {pos, (blank == std::string::npos ? text.size() : blank) - pos};
    if (blank == std::string::npos) break;
    pos = blank + 1;
  }
  auto word = [&](size_t i) {
    return std::string_view(text).substr(spans[i].pos, spans[i].length);
  };

  if (count < 2) return false;
  auto day = decimal(word(1), 2);
  if (!day || *day < 1 || *day > 31) return false;
  int month = count > 2 ? indexOf(kMonths, word(2)) : -1;
  std::optional<int> parsedYear = count > 3 ? decimal(word(3), 4) : std::nullopt;
  const bool calendar = month >= 0 && parsedYear.has_value();
  const int year = parsedYear.value_or(0);
  if (calendar && *day > daysInMonth(month, year)) return false;

  std::string_view weekday = word(0);
  bool comma = weekday.ends_with(',');
  if (comma) weekday.remove_suffix(1);
  int w = indexOf(kWeekdays, weekday);

  // Replaced from the last word back, so the positions of the earlier ones stay valid.
  auto replace = [&](size_t i, std::string_view by) {
    const size_t pos = spans[i].pos, length = spans[i].length, tail = text.size() - pos - length;
    if (by.size() > length) text.resize(text.size() + by.size() - length);
    std::char_traits<char>::move(text.data() + pos + by.size(), text.data() + pos + length, tail);
    std::char_traits<char>::copy(text.data() + pos, by.data(), by.size());
    text.resize(pos + by.size() + tail);
  };
  if (calendar && *day == daysInMonth(month, year)) {
    if (month == 11) {
      replace(3, std::to_string(year + 1));
      replace(2, kMonths[0]);
    } else {
      replace(2, kMonths[month + 1]);
    }
    replace(1, "1");
  } else {
    replace(1, std::to_string(*day + 1));
  }
  // The next name has the length of the one it replaces; a comma after it stays.
  if (w >= 0) text.replace(spans[0].pos, weekday.size(), kWeekdays[(w + 1) % 7]);
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
  // "<head>HH:MM:<rest>", with the hour digits at the end of the head: "Mon, 05 Dec 2011 14".
  size_t firstColon = feedDate.find(':');
  if (firstColon == std::string_view::npos) return std::string(feedDate);
  size_t secondColon = feedDate.find(':', firstColon + 1);
  if (secondColon == std::string_view::npos) return std::string(feedDate);
  std::string_view head = feedDate.substr(0, firstColon);
  if (head.size() < 2) return std::string(feedDate);
  // The hour is the last two characters of the head: two digits, or a blank and one digit
  // ("2011 9"), whose blank stays in front of the rebuilt hour.
  std::string_view hourText = head.substr(head.size() - 2);
  if (hourText.front() == ' ') hourText.remove_prefix(1);
  auto hour = decimal(hourText, 2);
  if (!hour || *hour > 23) return std::string(feedDate);
  head.remove_suffix(hourText.size());
  std::string_view minutes = feedDate.substr(firstColon + 1, secondColon - firstColon - 1);
  // Everything after the minutes, colons included: "00 EST".
  std::string_view rest = feedDate.substr(secondColon + 1);

  // 12 hours ahead: hours from 12 fall on the next day (AM), earlier ones stay (PM); the
  // 12-hour dial shows 0 as 12.
  bool nextDay = *hour > 11;
  int shown = *hour % 12 == 0 ? 12 : *hour % 12;

  std::string rebuilt;
  // The zone name only shrinks, and the next day's words grow by at most two characters.
  rebuilt.reserve(feedDate.size() + 2);
  rebuilt.append(head);
  rebuilt.push_back(static_cast<char>('0' + shown / 10));
  rebuilt.push_back(static_cast<char>('0' + shown % 10));
  rebuilt.push_back(':');
  rebuilt.append(minutes);
  rebuilt.push_back(':');
  constexpr std::string_view kZone = "EST";
  const std::string_view marker = nextDay ? "AM" : "PM";
  size_t pos = 0;
  for (size_t hit; (hit = rest.find(kZone, pos)) != std::string_view::npos;
       pos = hit + kZone.size()) {
    rebuilt.append(rest.substr(pos, hit - pos));
    rebuilt.append(marker);
  }
  rebuilt.append(rest.substr(pos));
  if (!nextDay) return rebuilt;

  if (!moveToNextDay(rebuilt)) return std::string(feedDate);
  return rebuilt;
}
