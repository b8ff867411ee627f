#include "reader/feed/StorySummary.h"

#include <gtest/gtest.h>

namespace {

TEST(StorySummaryTest, SeparatesTheTextFromThePicture) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // No picture tag: the text as written, the first word holding an address.
      {"Xem http://v.vn/a.html\nđể biết", "Xem http://v.vn/a.html\nđể biết",
       "http://v.vn/a.html\nđể"},
      {"Tin mới", "Tin mới", ""},
      // Tags closed with "/>".
      {"<img src=\"http://v.vn/a.jpg\" />\nMưa\nlớn ở miền Trung\n", "Mưalớn ở miền Trung",
       "http://v.vn/a.jpg"},
      // Only a few characters follow the tag: the cleaned copy stays whole.
      {"<img src=\"http://v.vn/a.jpg\"/>Tin", "Tin", "http://v.vn/a.jpg/>Tin"},
      // The cut counts characters ("Được" is four of them, eight bytes) and ends just after "m".
      {"<img src=\"http://v.vn/a.jpg\"/>Đượcmùa", "Đượcmùa", "http://v.vn/a.jpg/>Đượcm"},
      // Tags without "/>" end at their first ">".
      {"<a href=\"http://v.vn/x.html\"><img src=\"http://v.vn/a.jpg\"></a></br>Tin mới", "Tin mới",
       "http://v.vn/a.jpg"},
      {"Ảnh: <img width=80 SRC = 'http://v.vn/b.jpg'></A> <BR>\nTin\nmới", "Tinmới",
       "http://v.vn/b.jpg"},
      {"<img border=0 src=http://v.vn/c.jpg><br>  Tin", "  Tin", "http://v.vn/c.jpg"},
      {"<img src=\"http://v.vn/d.jpg\"></a><b>Tin</b>", "<b>Tin</b>", "http://v.vn/d.jpg"},
      {"<img alt=\"không ảnh\">Tin", "Tin", ""},
      {"<img srcset=\"http://v.vn/e.jpg\">Tin", "Tin", ""},
      // A tag cut off before its ">".
      {"Tin <img src=\"http://v.vn/f.jpg", "Tin ", ""},
  };
  for (const auto& [feed, text, picture] : cases) {
    SCOPED_TRACE(feed);
    StorySummary story = readStorySummary(feed);
    EXPECT_EQ(story.text, text);
    EXPECT_EQ(story.pictureAddress.value_or(""), picture);
  }
}

}  // namespace
