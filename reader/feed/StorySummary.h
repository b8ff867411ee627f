#pragma once
#include <optional>
#include <string>
#include <string_view>

// A story's summary as the feed writes it, taken apart into the text the screens show and the
// address of the picture the summary starts with.
struct StorySummary {
  std::string text;
  // Absent when the summary names no picture.
  std::optional<std::string> pictureAddress;
};

// Reads a feed summary.
// - Without a picture tag ("<img"), the text stays as written and the picture is the first
//   blank-separated word that contains "http".
// - With a tag closed by "/>", the text is what follows the first "/>" (once every "<img" is
//   taken out), without any "/>" or line break; the picture is the first "http" word of the
//   summary cleaned of line breaks, `<img src="` and quotes, and cut to the length, in
//   characters, of everything before that "/>".
// - With a tag that has no "/>", the tag ends at its first ">": the picture is its src
//   attribute, and the text is what follows it without line breaks and without the closing link
//   and line-break tags ("</a>", "<br>", "</br>", "<br/>") at its start. A tag cut off before any
//   ">" gives no picture and leaves the text before it.
StorySummary readStorySummary(std::string_view feedSummary);
