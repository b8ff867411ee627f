#include "facebook/FBStreamDialog.h"

#include "facebook/FBSession.h"

FBStreamDialog::FBStreamDialog(std::shared_ptr<FBSession> session) : FBDialog(std::move(session)) {}

void FBStreamDialog::load() {
  if (!session()) return;
  loadURL(session()->hosts().web + "/connect/prompt_feed.php", "POST", {{"display", "touch"}},
          {{"api_key", session()->apiKey()},
           {"session_key", session()->sessionKey().value_or("")},
           {"preview", "1"},
           {"callback", "fbdialog:success"},
           {"cancel", "fbdialog:cancel"},
           {"attachment", attachment_},
           {"action_links", actionLinks_},
           {"target_id", targetId_},
           {"user_message_prompt", userMessagePrompt_}});
}
