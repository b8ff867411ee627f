#pragma once
#include <string>

#include "facebook/FBDialog.h"

// Facebook's publishing page for a story with an attachment and action links (JSON texts), on
// the user's wall or `targetId`'s. The page is a POST of the story's parts.
class FBStreamDialog : public FBDialog {
 public:
  explicit FBStreamDialog(std::shared_ptr<FBSession> session = nullptr);

  std::string_view className() const override { return "FBStreamDialog"; }

  const std::string& attachment() const { return attachment_; }
  void setAttachment(std::string text) { attachment_ = std::move(text); }
  const std::string& actionLinks() const { return actionLinks_; }
  void setActionLinks(std::string text) { actionLinks_ = std::move(text); }
  const std::string& targetId() const { return targetId_; }
  void setTargetId(std::string id) { targetId_ = std::move(id); }
  const std::string& userMessagePrompt() const { return userMessagePrompt_; }
  void setUserMessagePrompt(std::string text) { userMessagePrompt_ = std::move(text); }

 protected:
  void load() override;

 private:
  std::string attachment_;
  std::string actionLinks_;
  std::string targetId_;
  std::string userMessagePrompt_;
};
