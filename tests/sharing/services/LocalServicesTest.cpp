

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
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish}));
}

TEST_F(LocalServicesTest, BrowserOpensOnlyWebLinksAndFailsOtherwise) {
  Strings opened;
  bool browserAnswers = true;
  ui::Application::shared().setOpenURLHandler([&](const std::string& url) {
    opened.push_back(url);
    return browserAnswers;
  });
  // A web link is handed over; the share fails when the browser does not answer.
  const std::pair<const char*, bool> cases[] = {
      {"http://vemo.vn/a", true},   {"HTTPS://vemo.vn/b", true},  {"https://vemo.vn/c", false},
      {"mailto:ann@vemo.vn", true}, {"file:///etc/passwd", true}, {"javascript:alert(1)", true}};
  for (const auto& [url, answers] : cases) {
    browserAnswers = answers;
    SHKSharer::shareItem("SHKSafari", SHKItem::URL(*net::Url::parse(url)));
  }
  EXPECT_EQ(opened, (Strings{"http://vemo.vn/a", "HTTPS://vemo.vn/b", "https://vemo.vn/c"}));
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish, kFail, kFail, kFail, kFail}));
}

TEST_F(LocalServicesTest, AlbumWritesJpegsBesideEachOtherAndSaysSavedAfterTheWrite) {
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  EXPECT_EQ(panelText(), "Saved!");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  // A file put there by someone else is kept too.
  const auto folder = SHKPhotoAlbum::albumFolder();
  testing_support::writeFile(folder / "Image 3.jpg", "mine");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));

  std::set<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    files.insert(e.path().filename());
  EXPECT_EQ(files,
            (std::set<std::string>{"Image.jpg", "Image 2.jpg", "Image 3.jpg", "Image 4.jpg"}));
  EXPECT_EQ(testing_support::readFile(folder / "Image 3.jpg"), "mine");
  auto saved = graphics::Image::fromFile(folder / "Image.jpg");
  EXPECT_TRUE(saved && saved->size().width == 8);
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish, kFinish}));
}

TEST_F(LocalServicesTest, AlbumThatCannotBeWrittenIsAFailureWithoutSaved) {
  // A file where the Pictures folder should be: nothing can be made inside it.
  testing_support::writeFile(dir_.path() / "Pictures", "not a folder");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture_, "P"));
  EXPECT_EQ(outcomes_, Strings{kFail});
  EXPECT_EQ(panelText(), "");
  EXPECT_NE(alertText().find("could not be saved"), std::string::npos) << alertText();

  // An image item without a picture saves nothing either.
  outcomes_.clear();
  SHKPhotoAlbum::setAlbumFolderForTesting(dir_.path() / "Other");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(nullptr, "P"));
  EXPECT_EQ(outcomes_, Strings{kFail});
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Other" / "Image.jpg"));
}

}  // namespace
