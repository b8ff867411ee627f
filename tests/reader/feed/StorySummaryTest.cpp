#include "reader/feed/StorySummary.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* feed;
  const char* text;
  const char* picture;  // nullptr: none
};

TEST(StorySummaryTest, SeparatesTheTextFromThePicture) {
  const Case cases[] = {
      // No picture tag: the text as written, the first word holding an address.
      {"Xem http://v.vn/a.html\nđể biết", "Xem http://v.vn/a.html\nđể biết",
       "http://v.vn/a.html\nđể"},
      {"Tin mới", "Tin mới", nullptr},
      // Tags closed with "/>".
      {"<img src=\"http://v.vn/a.jpg\" />Mưa lớn ở miền Trung", "Mưa lớn ở miền Trung",
       "http://v.vn/a.jpg"},
      {"<img src=\"http://v.vn/a.jpg\" />\nMưa\nlớn\n", "Mưalớn", "http://v.vn/a.jpg"},
      // Only a few characters follow the tag: the cleaned copy stays whole.
      {"<img src=\"http://v.vn/a.jpg\"/>Tin", "Tin", "http://v.vn/a.jpg/>Tin"},
      // The cut counts characters: "Được" is four of them (eight bytes).
      {"<img src=\"http://v.vn/a.jpg\"/>Được mùa", "Được mùa", "http://v.vn/a.jpg/>Được"},
      // Tags without "/>" end at their first ">".
      {"<a href=\"http://v.vn/x.html\"><img src=\"http://v.vn/a.jpg\"></a></br>Tin mới", "Tin mới",
       "http://v.vn/a.jpg"},
      {"Ảnh: <img width=80 SRC = 'http://v.vn/b.jpg'></A> <BR>\nTin\nmới", "Tinmới",
       "http://v.vn/b.jpg"},
      {"<img border=0 src=http://v.vn/c.jpg><br>  Tin", "  Tin", "http://v.vn/c.jpg"},
      {"<img src=\"http://v.vn/d.jpg\"></a><b>Tin</b>", "<b>Tin</b>", "http://v.vn/d.jpg"},
      {"<img alt=\"không ảnh\">Tin", "Tin", nullptr},
      {"<img srcset=\"http://v.vn/e.jpg\">Tin", "Tin", nullptr},
      // A tag cut off before its ">".
      {"Tin <img src=\"http://v.vn/f.jpg", "Tin ", nullptr},
  };
  for (const Case& c : cases) {
    StorySummary story = readStorySummary(c.feed);
    EXPECT_EQ(story.text, c.text) << c.feed;
    EXPECT_EQ(story.pictureAddress,
              c.picture ? std::optional<std::string>(c.picture) : std::nullopt)
        << c.feed;
  }
}

}  // namespace
