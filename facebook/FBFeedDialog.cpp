#include "facebook/FBFeedDialog.h"

#include <cstdio>

#include "facebook/FBSession.h"

FBFeedDialog::FBFeedDialog(std::shared_ptr<FBSession> session) : FBDialog(std::move(session)) {}

std::string FBFeedDialog::jsonEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else if (c == 0xE2 && i + 2 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                    static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
          // U+2028 and U+2029 end a line in script, though JSON allows them raw.
          out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string FBFeedDialog::generateFeedInfo() const {
  std::string members;
  auto add = [&members](const std::string& member) {
    if (!members.empty()) members += ",";
    members += member;
  };
  if (templateBundleId_ != 0) add("\"template_id\": " + std::to_string(templateBundleId_));
  if (!templateData_.empty()) add("\"template_data\": " + templateData_);
  if (!bodyGeneral_.empty()) add("\"body_general\": \"" + jsonEscape(bodyGeneral_) + "\"");
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
