#pragma once
#include <cstdint>
#include <string>

#include "facebook/FBDialog.h"

// Facebook's publishing page for a story made from a registered template bundle.
class FBFeedDialog : public FBDialog {
 public:
  explicit FBFeedDialog(std::shared_ptr<FBSession> session = nullptr);

  std::string_view className() const override { return "FBFeedDialog"; }

  std::int64_t templateBundleId() const { return templateBundleId_; }
  void setTemplateBundleId(std::int64_t id) { templateBundleId_ = id; }
  // JSON, passed on as it is.
  const std::string& templateData() const { return templateData_; }
  void setTemplateData(std::string json) { templateData_ = std::move(json); }
  // Plain text.
  const std::string& bodyGeneral() const { return bodyGeneral_; }
  void setBodyGeneral(std::string text) { bodyGeneral_ = std::move(text); }

  // The "feed_info" object: the template id (unless 0), the template data and the body text
  // (each when set).
  std::string generateFeedInfo() const;

 protected:
  void load() override;

 private:
  std::int64_t templateBundleId_ = 0;
  std::string templateData_;
  std::string bodyGeneral_;
};
