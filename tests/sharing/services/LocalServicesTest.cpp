#include <gtest/gtest.h>

#include <fstream>

#include "platform/ui/Application.h"
#include "platform/ui/Pasteboard.h"
#include "sharing/services/SHKCopy.h"
#include "sharing/services/SHKPhotoAlbum.h"
#include "sharing/services/SHKSafari.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

class LocalServicesTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKCopy::registerService();
    SHKSafari::registerService();
    SHKPhotoAlbum::registerService();
    SHKPhotoAlbum::setAlbumFolderForTesting(dir_.path() / "Pictures" / "Vemo");
  }
  void TearDown() override {
    SHKPhotoAlbum::setAlbumFolderForTesting(std::nullopt);
    ui::Application::shared().setOpenURLHandler(nullptr);
    SharingTest::TearDown();
  }
  graphics::ImagePtr picture_ = graphics::Image::filled({8, 8}, graphics::Color{1, 0, 0, 1});
};

TEST_F(LocalServicesTest, CopyPutsTheLinkAsTextAndAPictureAsAPicture) {
  auto& board = ui::Pasteboard::general();
  SHKSharer::shareItem("SHKCopy", SHKItem::URL(*net::Url::parse("https://vemo.vn/a%20b"), "T"));
  EXPECT_EQ(board.string(), "https://vemo.vn/a%20b");
  EXPECT_EQ(panelText(), "Copied!");
  SHKSharer::shareItem("SHKCopy", SHKItem::image(picture_, "P"));
  EXPECT_EQ(board.image(), picture_);
  EXPECT_EQ(board.string(), std::nullopt);
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish}));
}

TEST_F(LocalServicesTest, BrowserOpensOnlyWebLinksAndFailsOtherwise) {
  Strings opened;
  bool browserAnswers = true;
  ui::Application::shared().setOpenURLHandler([&](const std::string& url) {
    opened.push_back(url);
    return browserAnswers;
  });
  const struct {
    const char* url;
    bool browserAnswers;
    std::string outcome;
    bool handedOver;
  } cases[] = {
      {"http://vemo.vn/a", true, kFinish, true},  {"HTTPS://vemo.vn/b", true, kFinish, true},
      {"https://vemo.vn/c", false, kFail, true},  {"mailto:ann@vemo.vn", true, kFail, false},
      {"file:///etc/passwd", true, kFail, false}, {"javascript:alert(1)", true, kFail, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    opened.clear();
    outcomes_.clear();
    browserAnswers = c.browserAnswers;
    SHKSharer::shareItem("SHKSafari", SHKItem::URL(*net::Url::parse(c.url)));
    EXPECT_EQ(outcomes_, Strings{c.outcome});
    EXPECT_EQ(opened.size(), c.handedOver ? 1u : 0u);
    ui::AlertStack::shared().reset();
  }
}

TEST_F(LocalServicesTest, AlbumWritesJpegsBesideEachOtherAndSaysSavedAfterTheWrite) {
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  EXPECT_EQ(panelText(), "Saved!");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  // A file put there by someone else is kept too.
  const auto folder = SHKPhotoAlbum::albumFolder();
  testing_support::writeFile(folder / "Image 3.jpg", "mine");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));

  std::set<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(folder)) files.insert(e.path());
  EXPECT_EQ(files,
            (std::set<std::filesystem::path>{folder / "Image.jpg", folder / "Image 2.jpg",
                                             folder / "Image 3.jpg", folder / "Image 4.jpg"}));
  EXPECT_EQ(testing_support::readFile(folder / "Image 3.jpg"), "mine");
  auto saved = graphics::Image::fromFile(folder / "Image.jpg");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->size().width, 8);
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish, kFinish}));
}

TEST_F(LocalServicesTest, AlbumThatCannotBeWrittenIsAFailureWithoutSaved) {
  // A file where the Pictures folder should be: nothing can be made inside it.
  testing_support::writeFile(dir_.path() / "Pictures", "not a folder");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  EXPECT_EQ(outcomes_, Strings{kFail});
  EXPECT_EQ(panelText(), "");
  EXPECT_NE(alertMessage().find("could not be saved"), std::string::npos) << alertMessage();

  // An image item without a picture saves nothing either.
  outcomes_.clear();
  SHKPhotoAlbum::setAlbumFolderForTesting(dir_.path() / "Other");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(nullptr, "P"));
  EXPECT_EQ(outcomes_, Strings{kFail});
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Other" / "Image.jpg"));
}

}  // namespace
