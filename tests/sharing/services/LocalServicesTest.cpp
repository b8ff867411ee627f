#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/ui/Application.h"
#include "platform/ui/Pasteboard.h"
#include "sharing/services/SHKCopy.h"
#include "sharing/services/SHKPhotoAlbum.h"
#include "sharing/services/SHKSafari.h"
#include "tests/sharing/services/ServiceTestSupport.h"

namespace {

using Strings = std::vector<std::string>;
const std::string kFinish = SHKSharer::kSendDidFinishNotification;
const std::string kFail = SHKSharer::kSendDidFailNotification;

graphics::ImagePtr redSquare() {
  return graphics::Image::filled({8, 8}, graphics::Color{1, 0, 0, 1});
}

class LocalServicesTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    SHKCopy::registerService();
    SHKSafari::registerService();
    SHKPhotoAlbum::registerService();
    SHKPhotoAlbum::setAlbumFolderForTesting(dir_.path() / "Pictures" / "Vemo");
  }
  void TearDown() override {
    SHKPhotoAlbum::setAlbumFolderForTesting(std::nullopt);
    ui::Application::shared().setOpenURLHandler(nullptr);
    ServiceTest::TearDown();
  }
  std::vector<std::filesystem::path> album() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(SHKPhotoAlbum::albumFolder(), ec))
      files.push_back(e.path().filename());
    std::sort(files.begin(), files.end());
    return files;
  }
};

TEST_F(LocalServicesTest, CopyPutsTheLinkAsTextAndAPictureAsAPicture) {
  auto& board = ui::Pasteboard::general();
  SHKSharer::shareItem("SHKCopy", SHKItem::URL(*net::Url::parse("https://vemo.vn/a%20b"), "T"));
  EXPECT_EQ(board.string(), "https://vemo.vn/a%20b");
  EXPECT_EQ(panelText(), "Copied!");

  auto picture = redSquare();
  SHKSharer::shareItem("SHKCopy", SHKItem::image(picture, "P"));
  EXPECT_EQ(board.image(), picture);
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
  struct Case {
    const char* url;
    bool browserAnswers;
    const char* outcome;
    bool handedOver;
  };
  const Case cases[] = {
      {"http://vemo.vn/a", true, SHKSharer::kSendDidFinishNotification, true},
      {"HTTPS://vemo.vn/b", true, SHKSharer::kSendDidFinishNotification, true},
      {"https://vemo.vn/c", false, SHKSharer::kSendDidFailNotification, true},
      {"mailto:ann@vemo.vn", true, SHKSharer::kSendDidFailNotification, false},
      {"file:///etc/passwd", true, SHKSharer::kSendDidFailNotification, false},
      {"javascript:alert(1)", true, SHKSharer::kSendDidFailNotification, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    opened.clear();
    outcomes_.clear();
    browserAnswers = c.browserAnswers;
    auto url = net::Url::parse(c.url);
    ASSERT_TRUE(url);
    SHKSharer::shareItem("SHKSafari", SHKItem::URL(*url));
    EXPECT_EQ(outcomes_, Strings{c.outcome});
    EXPECT_EQ(opened.size(), c.handedOver ? 1u : 0u);
    ui::AlertStack::shared().reset();
  }
}

TEST_F(LocalServicesTest, AlbumWritesJpegsBesideEachOtherAndSaysSavedAfterTheWrite) {
  auto picture = redSquare();
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture, "P"));
  EXPECT_EQ(panelText(), "Saved!");
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture, "P"));
  // A file put there by someone else is kept too.
  std::ofstream(SHKPhotoAlbum::albumFolder() / "Image 3.jpg") << "mine";
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(picture, "P"));

  using Paths = std::vector<std::filesystem::path>;
  EXPECT_EQ(album(), (Paths{"Image 2.jpg", "Image 3.jpg", "Image 4.jpg", "Image.jpg"}));
  std::ifstream mine(SHKPhotoAlbum::albumFolder() / "Image 3.jpg");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mine), {}), "mine");
  auto saved = graphics::Image::fromFile(SHKPhotoAlbum::albumFolder() / "Image.jpg");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->size().width, 8);
  EXPECT_EQ(outcomes_, (Strings{kFinish, kFinish, kFinish}));
}

TEST_F(LocalServicesTest, AlbumThatCannotBeWrittenIsAFailureWithoutSaved) {
  // A file where the Pictures folder should be: nothing can be made inside it.
  std::ofstream(dir_.path() / "Pictures") << "not a folder";
  SHKSharer::shareItem("SHKPhotoAlbum", SHKItem::image(redSquare(), "P"));
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
