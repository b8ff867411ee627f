#include "sharing/core/SHK.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/store/UserDefaults.h"
#include "platform/ui/NavigationController.h"
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

// Exclusions are read from an array or a dictionary's keys; the stored list loses the excluded
// names for good. Favourites of the wrong type fall back to the defaults.
TEST_F(SHKFavoritesTest, ExclusionsAndStoredValuesOfAnyShape) {
  using store::Plist;
  auto dict = Plist::dictionary();
  dict.set("SHKFacebook", Plist::boolean(true));
  auto mixed = Plist::array();
  mixed.append(Plist::integer(7));
  mixed.append(Plist::string("SHKTumblr"));
  const Names all{"SHKTwitter", "SHKFacebook", "SHKReadItLater"};
  const Names noFacebook{"SHKTwitter", "SHKReadItLater"};
  struct Case {
    const char* name;
    std::optional<Plist> excluded, stored;
    Names expected;
  } cases[] = {
      {"array", Plist::stringArray({"SHKFacebook"}), std::nullopt, noFacebook},
      {"dictionary", dict, std::nullopt, noFacebook},
      {"string exclusions ignored", Plist::string("SHKFacebook"), std::nullopt, all},
      {"favourites a string", std::nullopt, Plist::string("SHKMail"), all},
      {"numbers skipped, unknown names kept", std::nullopt, mixed, {"SHKTumblr"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    defaults().removeObjectForKey("SHK_FAVS_1");
    defaults().removeObjectForKey("SHKExcluded");
    if (c.excluded) defaults().setObject(*c.excluded, "SHKExcluded");
    if (c.stored) defaults().setObject(*c.stored, "SHK_FAVS_1");
    EXPECT_EQ(SHK::favoriteSharersForType(1), c.expected);
    if (c.excluded || !c.stored) {
      EXPECT_EQ(defaults().stringArrayForKey("SHK_FAVS_1"), c.expected);
    }
  }
  // A service switched on again does not come back by itself.
  defaults().removeObjectForKey("SHK_FAVS_1");
  defaults().setObject(Plist::stringArray({"SHKFacebook"}), "SHKExcluded");
  SHK::favoriteSharersForType(1);
  defaults().removeObjectForKey("SHKExcluded");
  EXPECT_EQ(SHK::favoriteSharersForType(1), noFacebook);
}

TEST(SHKEncodingTest, FormValuesAndAddresses) {
  const struct {
    std::optional<std::string> in;
    std::string form, url;
  } cases[] = {
      {std::nullopt, "", ""},
      {"a+b", "a%2Bb", "a%2Bb"},
      {"C#", "C%23", "C%23"},
      {"%41", "%2541", "%2541"},
      {"x&amp;y", "x%26y", "x%26amp%3By"},
      {"&amp;amp;", "%26amp;", "%26amp%3Bamp%3B"},
      {"a b", "a%20b", "a%20b"},
      {"Việt", "Vi%E1%BB%87t", "Vi%E1%BB%87t"},
      {std::string("a\0b", 3), "a%00b", "a%00b"},
      {"http://x.org/p?q=1&r=2", "http://x.org/p?q=1%26r=2",
       "http%3A%2F%2Fx.org%2Fp%3Fq%3D1%26r%3D2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in.value_or("(nil)"));
    EXPECT_EQ(SHK::encodeFormValue(c.in), c.form);
    EXPECT_EQ(SHK::encodeURL(c.in), c.url);
  }
}

TEST(SHKConfigTest, ErrorTextAndRegistryOfAnyShape) {
  // Text from outside is never a format.
  EXPECT_EQ(SHK::error("Could not reach %@", "100%d %@").localizedDescription,
            "Could not reach 100%d %@");

  testing_support::TempDir dir;
  struct Case {
    const char* name;
    std::optional<std::string> content;
    Names services;
  } cases[] = {
      {"missing", std::nullopt, {}},
      {"not a plist", "garbage", {}},
      {"an array", "<plist><array><string>SHKMail</string></array></plist>", {}},
      {"services of mixed types",
       "<plist><dict><key>services</key><array><string>SHKTumblr</string><integer>3</integer>"
       "</array><key>actions</key><string>SHKCopy</string></dict></plist>",
       {"SHKTumblr"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto path = dir / "SHKSharers.plist";
    std::filesystem::remove(path);
    if (c.content) testing_support::writeFile(path, *c.content);
    SHK::reloadSharersDictionary(path.string());
    EXPECT_EQ(SHK::registeredSharers("services"), c.services);
    EXPECT_TRUE(SHK::registeredSharers("actions").empty());
    SHK::logoutOfAll();
  }
  SHK::reloadSharersDictionary();
  auto names = SHK::registeredSharers("services");
  EXPECT_NE(std::ranges::find(names, "SHKFacebook"), names.end());
}

class SHKCredentialsTest : public SharingTest {};

TEST_F(SHKCredentialsTest, StoredUnderTheServiceNameAndFieldKey) {
  SHK::setAuthValue("pa+ss", "password", "SHKInstapaper");
  std::optional<store::SecretBytes> secret;
  ASSERT_EQ(keychain_.find("SHK_AUTH_SHKInstapaper", "password", &secret), 0);
  SHK::setAuthValue("new", "password", "SHKInstapaper");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper"), "new");
  SHK::removeAuthValueForKey("password", "SHKInstapaper");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper"), std::nullopt);
}

// The presentation machine on the virtual clock: what is up and what waits, step by step.
class SHKPresentationTest : public SharingTest {
 protected:
  std::shared_ptr<ui::ViewController> screen(const std::string& title) {
    auto c = std::make_shared<ui::ViewController>();
    c->setTitle(title);
    return c;
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
  EXPECT_TRUE(helper_.showViewController(screen("A"), [&] { ++goneA; }));
  runFor(0.5);
  EXPECT_EQ(shown(), "A");

  // A second show while A is up: A leaves, B waits; C replaces B while waiting.
  helper_.showViewController(screen("B"), [&] { ++goneB; });
  helper_.showViewController(screen("C"), [&] { ++goneC; });
  runFor(0);
  EXPECT_EQ(goneB, 1);
  runFor(0.3);  // the slide down ends; the screens report their dismissal
  helper_.viewWasDismissed();
  EXPECT_EQ(goneA, 1);
  runFor(0.019);
  EXPECT_EQ(shown(), "");
  runFor(0.002);
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

TEST_F(SHKPresentationTest, ShowHideShowInsideTheDelay) {
  helper_.showViewController(screen("A"));
  runFor(0.5);
  helper_.showViewController(screen("B"));
  runFor(0.5);
  helper_.viewWasDismissed();
  runFor(0.005);
  helper_.hideCurrentViewControllerAnimated(true);  // nothing is up yet: ignored
  runFor(0.005);
  helper_.showViewController(screen("C"));  // shown at once, the waiting B is dropped
  EXPECT_EQ(shown(), "C");
  runFor(1);
  EXPECT_EQ(shown(), "C");
}

TEST_F(SHKPresentationTest, NoRootControllerPresentsNothing) {
  window_->setRootViewController(nullptr);
  for (auto& v : std::vector<ui::ViewPtr>(window_->subviews())) v->removeFromSuperview();
  bool gone = false;
  EXPECT_FALSE(helper_.showViewController(screen("A"), [&] { gone = true; }));
  runFor(0);
  EXPECT_TRUE(gone);
  EXPECT_EQ(helper_.currentView(), nullptr);
}

}  // namespace
