#include "app/cli/QueueCommand.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/graphics/Image.h"
#include "platform/store/UserDefaults.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/OAuthServices.h"
#include "sharing/services/SHKFacebook.h"
#include "sharing/services/SHKTwitterForm.h"
#include "sharing/services/WebServiceSharers.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace fs = std::filesystem;

namespace {

// uid -> {sharer, item} of the stored list.
std::map<std::string, std::pair<std::string, store::Plist>> stored() {
  std::map<std::string, std::pair<std::string, store::Plist>> out;
  auto list = SHKOfflineQueue::getOfflineQueueList();
  for (size_t i = 0; list && i < list->view().size(); ++i) {
    auto e = list->view().at(i);
    out.emplace(*e.get("uid").asString(),
                std::pair(*e.get("sharer").asString(), *store::Plist::copyOf(e.get("item"))));
  }
  return out;
}

using QueueCommandTest = SharingTest;

}  // namespace

// `vemo queue flush` without a window, against the sandbox: shares that need a screen stay in the
// queue as they were; the window later shows them.
TEST_F(QueueCommandTest, SharesNeedingTheWindowStayQueuedUntilTheWindowShowsThem) {
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  SHKServiceConfig::shared().pointServicesAt(sandbox.baseUrl());
  registerOAuthServices();
  registerWebServiceSharers();
  SHKFacebook::registerService();
  SHKOfflineQueue::install();
  for (const auto& [value, key, service] : {std::tuple{"key", "accessKey", "SHKTwitter"},
                                            {"secret", "accessSecret", "SHKTwitter"},
                                            {"ann", "username", "SHKInstapaper"},
                                            {"pw", "password", "SHKInstapaper"}})
    SHK::setAuthValue(value, key, service);
  store::UserDefaults::standard().setObject(store::Plist::integer(7), "FBUserId");
  store::UserDefaults::standard().setObject(store::Plist::string("session"), "FBSessionKey");
  auto count = [&](const std::string& service, const std::string& path) {
    auto all = sandbox.log().requests();
    return std::count_if(all.begin(), all.end(),
                         [&](const auto& r) { return r.service == service && r.path == path; });
  };

  auto image = graphics::Image::filled({4, 3}, graphics::Color::rgb(200, 0, 0));
  const std::pair<std::shared_ptr<SHKItem>, const char*> queued[] = {
      // The compose screen: a status too long, a picture's caption, a link shortened first.
      {SHKItem::text(std::string(200, 'x')), "SHKTwitter"},
      {SHKItem::image(image, "pic"), "SHKTwitter"},
      {SHKItem::URL(*net::Url::parse("http://news.example/a"), "A"), "SHKTwitter"},
      // Publishing pages of its own.
      {SHKItem::URL(*net::Url::parse("http://news.example/b"), "B"), "SHKFacebook"},
      // Needs no screen: sent.
      {SHKItem::URL(*net::Url::parse("http://news.example/c"), "C"), "SHKInstapaper"},
  };
  for (const auto& [item, sharer] : queued) ASSERT_TRUE(SHK::addToOfflineQueue(*item, sharer));
  auto before = stored();
  std::string imageUid = before.lower_bound("SHKTwitter-3-")->first;
  std::string body = testing_support::readFile(SHKOfflineQueue::offlineQueuePath() / imageUid);

  SHK::currentHelper().reset();
  ui::Application::shared().setKeyWindow(nullptr);
  std::ostringstream out, err;
  EXPECT_EQ(QueueCommand::run({"queue", "flush"}, out, err), 1);
  EXPECT_EQ(out.str(), "Sent 1 of 5 queued shares (4 failed).\n4 left in the queue.\n");
  EXPECT_NE(err.str().find("Twitter: Twitter can share this only in the window; it stays in the "
                           "queue.\n"),
            std::string::npos)
      << err.str();
  auto after = stored();
  before.erase(std::find_if(before.begin(), before.end(),
                            [](const auto& e) { return e.second.first == "SHKInstapaper"; }));
  EXPECT_EQ(after, before) << "kept as they were, under their uids";
  EXPECT_EQ(testing_support::readFile(SHKOfflineQueue::offlineQueuePath() / imageUid), body);
  EXPECT_EQ(count("SHKInstapaper", "/api/add"), 1);
  EXPECT_EQ(count("SHKTwitter", "/v3/shorten"), 1);
  EXPECT_EQ(count("SHKTwitter", "/1/statuses/update.json"), 0);

  // In the window the compose screen comes up for one of them; the others, which would dismiss
  // it, wait for a later flush (Facebook was logged out meanwhile, its entry dropped).
  store::UserDefaults::standard().removeObjectForKey("FBSessionKey");
  window_->makeKeyAndVisible();
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 4u);
  // The workers post nothing when they end: look in short steps.
  for (int i = 0; i < 300 && SHKOfflineQueue::operations().operationCount() > 0; ++i)
    base::RunLoop::main().runUntilCondition([] { return false; }, 0.1);
  after = stored();
  EXPECT_EQ(after.size(), 2u);
  for (const auto& [uid, entry] : after) EXPECT_EQ(entry, before.at(uid));
  EXPECT_EQ(fs::exists(SHKOfflineQueue::offlineQueuePath() / imageUid), after.contains(imageUid));
  auto* shown = dynamic_cast<ui::NavigationController*>(SHK::currentHelper().currentView().get());
  ASSERT_TRUE(shown);
  EXPECT_TRUE(dynamic_cast<SHKTwitterForm*>(shown->topViewController()));
  for (int i = 0; i < 5 && SHK::currentHelper().currentView(); ++i) {
    SHK::currentHelper().hideCurrentViewControllerAnimated(false);
    runFor(1);
  }
}
