#include "facebook/FBFeedDialog.h"

#include "facebook/FBSession.h"
#include "platform/base/Strings.h"

FBFeedDialog::FBFeedDialog(std::shared_ptr<FBSession> session) : FBDialog(std::move(session)) {}

std::string FBFeedDialog::generateFeedInfo() const {
  std::string members;
  auto add = [&members](const std::string& member) {
    if (!members.empty()) members += ",";
    members += member;
  };
  if (templateBundleId_ != 0) add("\"template_id\": " + std::to_string(templateBundleId_));
  if (!templateData_.empty()) add("\"template_data\": " + templateData_);
  if (!bodyGeneral_.empty()) add("\"body_general\": \"" + base::escapeJson(bodyGeneral_) + "\"");
  return "{" + members + "}";
}

void FBFeedDialog::load() {
  if (!session()) return;
  loadURL(session()->hosts().web + "/connect/prompt_feed.php", "POST", {{"display", "touch"}},
          {{"api_key", session()->apiKey()},
           {"session_key", session()->sessionKey().value_or("")},
           {"preview", "1"},
           {"callback", "fbdialog:success"},
           {"cancel", "fbdialog:cancel"},
           {"feed_info", generateFeedInfo()},
           {"feed_target_type", "self_feed"}});
}
