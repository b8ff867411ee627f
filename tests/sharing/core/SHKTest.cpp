#include "sharing/core/SHK.h"

#include "platform/store/UserDefaults.h"
#include "tests/sharing/core/SharingTestSupport.h"

using Names = std::vector<std::string>;

namespace {

store::UserDefaults& defaults() {
  return store::UserDefaults::standard();
}

class SHKFavoritesTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir_;
};

TEST_F(SHKFavoritesTest, DefaultsAreStoredAndUsedServiceMovesToFrontAtMostThree) {
  EXPECT_EQ(SHK::favoriteSharersForType(0), std::nullopt);
  EXPECT_EQ(SHK::favoriteSharersForType(2), (Names{"SHKMail", "SHKTwitter", "SHKFacebook"}));
  EXPECT_EQ(defaults().stringArrayForKey("SHK_FAVS_2"), SHK::favoriteSharersForType(2));
  const std::pair<const char*, Names> cases[] = {
      {"SHKTwitter", {"SHKTwitter", "SHKMail", "SHKFacebook"}},
      {"SHKTwitter", {"SHKTwitter", "SHKMail", "SHKFacebook"}},
      {"SHKTumblr", {"SHKTumblr", "SHKTwitter", "SHKMail"}},
      {"SHKMail", {"SHKMail", "SHKTumblr", "SHKTwitter"}},
  };
  for (const auto& [used, after] : cases) {
    SHK::pushOnFavorites(used, 2);
    EXPECT_EQ(SHK::favoriteSharersForType(2), after) << used;
  }
  SHK::pushOnFavorites("SHKMail", 0);
  EXPECT_EQ(SHK::favoriteSharersForType(0), Names{"SHKMail"});
}

// Exclusions are read from an array or a dictionary's keys; favourites of the wrong type fall back
// to the defaults.
TEST_F(SHKFavoritesTest, ExclusionsAndStoredValuesOfAnyShape) {
  auto plist = [](const char* xml) { return *store::Plist::fromXml(xml); };
  const Names all{"SHKTwitter", "SHKFacebook", "SHKReadItLater"};
  const Names noFacebook{"SHKTwitter", "SHKReadItLater"};
  const struct {
    const char *excluded, *stored;
    Names expected;
  } cases[] = {
      {"<plist><array><string>SHKFacebook</string></array></plist>", nullptr, noFacebook},
      {"<plist><dict><key>SHKFacebook</key><true/></dict></plist>", nullptr, noFacebook},
      {"<plist><string>SHKFacebook</string></plist>", nullptr, all},
      {nullptr, "<plist><string>SHKMail</string></plist>", all},
      // Numbers skipped, unknown names kept.
      {nullptr,
       "<plist><array><integer>7</integer><string>SHKTumblr</string></array></plist>",
       {"SHKTumblr"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.excluded ? c.excluded : c.stored);
    defaults().removeObjectForKey("SHK_FAVS_1");
    defaults().removeObjectForKey("SHKExcluded");
    if (c.excluded) defaults().setObject(plist(c.excluded), "SHKExcluded");
    if (c.stored) defaults().setObject(plist(c.stored), "SHK_FAVS_1");
    EXPECT_EQ(SHK::favoriteSharersForType(1), c.expected);
    if (c.excluded || !c.stored) {
      EXPECT_EQ(defaults().stringArrayForKey("SHK_FAVS_1"), c.expected);
    }
  }
}

// Form values keep "&amp;" as "&" and escape what would end or change a field.
TEST(SHKEncodingTest, FormValuesAndAddresses) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::nullopt, ""},
      {"a+b", "a%2Bb"},
      {"%41", "%2541"},
      {"x&amp;y", "x%26y"},
      {"&amp;amp;", "%26amp;"},
      {"a b", "a%20b"},
      {"Việt", "Vi%E1%BB%87t"},
      {std::string("a\0b", 3), "a%00b"},
      {"http://x.org/p?q=1&r=2", "http://x.org/p?q=1%26r=2"},
  };
  for (const auto& [in, form] : cases)
    EXPECT_EQ(SHK::encodeFormValue(in), form) << in.value_or("(nil)");
}

TEST(SHKConfigTest, ErrorTextAndRegistryOfAnyShape) {
  // Text from outside is never a format.
  EXPECT_EQ(SHK::error("Could not reach %@", "100%d %@").localizedDescription,
            "Could not reach 100%d %@");

  testing_support::TempDir dir;
  // Missing, not a plist, an array, services of mixed types.
  const std::pair<const char*, Names> cases[] = {
      {nullptr, {}},
      {"garbage", {}},
      {"<plist><array><string>SHKMail</string></array></plist>", {}},
      {"<plist><dict><key>services</key><array><string>SHKTumblr</string><integer>3</integer>"
       "</array><key>actions</key><string>SHKCopy</string></dict></plist>",
       {"SHKTumblr"}}};
  for (const auto& [content, services] : cases) {
    auto path = dir / "SHKSharers.plist";
    std::filesystem::remove(path);
    if (content) testing_support::writeFile(path, content);
    SHK::reloadSharersDictionary(path.string());
    EXPECT_EQ(SHK::registeredSharers("services"), services) << (content ? content : "missing");
    EXPECT_TRUE(SHK::registeredSharers("actions").empty());
    SHK::logoutOfAll();
  }
  SHK::reloadSharersDictionary();
}

class SHKCredentialsTest : public SharingTest {};

TEST_F(SHKCredentialsTest, StoredUnderTheServiceNameAndFieldKey) {
  SHK::setAuthValue("pa+ss", "password", "SHKInstapaper");
  EXPECT_EQ(keychain_.find("SHK_AUTH_SHKInstapaper", "password", nullptr), 0);
  SHK::setAuthValue("new", "password", "SHKInstapaper");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper"), "new");
  SHK::removeAuthValueForKey("password", "SHKInstapaper");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper"), std::nullopt);
}

// The presentation machine on the virtual clock: what is up and what waits, step by step.
class SHKPresentationTest : public SharingTest {
 protected:
  // A screen titled `title` that counts its dismissals in `gone`.
  bool show(const std::string& title, int* gone = nullptr) {
    auto c = std::make_shared<ui::ViewController>();
    c->setTitle(title);
    return helper_.showViewController(c, [gone] {
      if (gone) ++*gone;
    });
  }
  // The title of the screen presented over the root, "" when none.
  std::string shown() {
    auto* nav = dynamic_cast<ui::NavigationController*>(root_->modalViewController());
    return nav && nav->topViewController() ? nav->topViewController()->title() : "";
  }
  SHK& helper_ = SHK::currentHelper();
};

TEST_F(SHKPresentationTest, OneScreenAtATimeWithTheWaitingOneShownAfterTheDelay) {
  int goneA = 0, goneB = 0, goneC = 0;
  EXPECT_TRUE(show("A", &goneA));
  runFor(0.5);
  EXPECT_EQ(shown(), "A");
  // A second show while A is up: A leaves, B waits; C replaces B while waiting.
  show("B", &goneB);
  show("C", &goneC);
  runFor(0);
  EXPECT_EQ(goneB, 1);
  runFor(0.3);  // the slide down ends; the screens report their dismissal
  helper_.viewWasDismissed();
  EXPECT_EQ(goneA, 1);
  runFor(0.1);
  EXPECT_EQ(shown(), "C");

  // Hiding twice dismisses once; a second report of the same dismissal changes nothing.
  helper_.hideCurrentViewControllerAnimated(true);
  helper_.hideCurrentViewControllerAnimated(true);
  runFor(0.5);
  EXPECT_EQ(root_->modalViewController(), nullptr);
  helper_.viewWasDismissed();
  helper_.viewWasDismissed();
  EXPECT_EQ(goneC, 1);
  EXPECT_EQ(helper_.currentView(), nullptr);
}

TEST_F(SHKPresentationTest, NoRootControllerPresentsNothing) {
  window_->setRootViewController(nullptr);
  for (auto& v : std::vector<ui::ViewPtr>(window_->subviews())) v->removeFromSuperview();
  int gone = 0;
  EXPECT_FALSE(show("A", &gone));
  runFor(0);
  EXPECT_EQ(gone, 1);
  EXPECT_EQ(helper_.currentView(), nullptr);
}

}  // namespace
