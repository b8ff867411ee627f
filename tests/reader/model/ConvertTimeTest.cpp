#include <gtest/gtest.h>

#include "reader/model/Utilities.h"

namespace {

// The feed's times move on twelve hours, onto the twelve-hour dial, across days, months and years.
TEST(ConvertTimeTest, ShiftsTheFeedsTimeAndLeavesUnreadableText) {
  const std::pair<const char*, const char*> cases[] = {
      {"Mon, 05 Dec 2011 14:30:00 EST", "Tue, 6 Dec 2011 02:30:00 AM"},
      {"Mon, 05 Dec 2011 09:15:00 EST", "Mon, 05 Dec 2011 09:15:00 PM"},
      {"Mon, 05 Dec 2011 00:15:00 EST", "Mon, 05 Dec 2011 12:15:00 PM"},
      {"Mon, 05 Dec 2011 11:59:59 EST", "Mon, 05 Dec 2011 11:59:59 PM"},
      {"Mon, 05 Dec 2011 12:00:00 EST", "Tue, 6 Dec 2011 12:00:00 AM"},
      // An hour written with one digit after the blank.
      {"Mon, 05 Dec 2011 9:30:00 EST", "Mon, 05 Dec 2011 09:30:00 PM"},
      {" 7:30:00 EST", " 07:30:00 PM"},
      // A day that stays keeps its leading zero; one that moves is written without it.
      {"Fri, 09 Dec 2011 18:00:00 EST", "Sat, 10 Dec 2011 06:00:00 AM"},
      {"Sat, 31 Dec 2011 23:00:00 EST", "Sun, 1 Jan 2012 11:00:00 AM"},
      {"Wed, 30 Nov 2011 15:00:00 EST", "Thu, 1 Dec 2011 03:00:00 AM"},
      {"Sat, 30 Jul 2011 20:00:00 EST", "Sun, 31 Jul 2011 08:00:00 AM"},
      // February: leap years (2012, 2000) and a common one (1900).
      {"Wed, 29 Feb 2012 20:00:00 EST", "Thu, 1 Mar 2012 08:00:00 AM"},
      {"Mon, 28 Feb 2000 20:00:00 EST", "Tue, 29 Feb 2000 08:00:00 AM"},
      {"Wed, 28 Feb 1900 20:00:00 EST", "Thu, 1 Mar 1900 08:00:00 AM"},
      // Unknown month: only the day number moves; an unknown weekday is kept.
      {"Mon, 31 Tháng12 2011 14:00:00 EST", "Tue, 32 Tháng12 2011 02:00:00 AM"},
      {"Thứ2, 05 Dec 2011 14:00:00 EST", "Thứ2, 6 Dec 2011 02:00:00 AM"},
      // The shift applies whatever the zone; only the literal "EST" is replaced.
      {"Mon, 05 Dec 2011 14:30:00 GMT", "Tue, 6 Dec 2011 02:30:00 GMT"},
      // Text after a third colon is kept.
      {"Mon, 05 Dec 2011 08:30:00 EST:x", "Mon, 05 Dec 2011 08:30:00 PM:x"},
  };
  for (const auto& [feed, shown] : cases)
    EXPECT_EQ(Utilities::convertTimeWithTime(feed), shown) << feed;
  // Unreadable text is returned unchanged.
  for (const char* text :
       {"", "Mon, 05 Dec 2011", "14:30", "Mon, 05 Dec 2011 14:30 EST",
        "Mon, 05 Dec 2011 24:00:00 EST", "Mon, 05 Dec 2011 x7:30:00 EST",
        "Mon, 05 Dec 2011  :30:00 EST", "Mon, 05 Dec 201\t7:30:00 EST", "7:30:00 EST",
        "Mon, 05 Dec 2011 ab:00:00 EST", "14:30:00 EST", "Mon, xx Dec 2011 14:30:00 EST",
        "Mon, 00 Dec 2011 14:30:00 EST", "Mon, 32 Dec 2011 14:30:00 EST",
        "Mon, 31 Nov 2011 14:30:00 EST", "Mon, 29 Feb 2011 14:30:00 EST", ":::"})
    EXPECT_EQ(Utilities::convertTimeWithTime(text), text) << text;
}

}  // namespace
