#include "reader/screens/StoryShare.h"

#include "platform/base/Utf16.h"
#include "platform/ui/NavigationController.h"
#include "sharing/core/SHKActionSheet.h"
#include "sharing/core/SHKItem.h"

namespace story_share {

std::string text(const Item& story) {
  std::string text = kGreeting;
  text += "\n";
  text += story.link.value_or("");
  text += " : ";
  if (story.title) text += *story.title;
  return base::utf16Prefix(text, kMaxLength);
}

void present(const Item& story, ui::ViewController& screen) {
  auto sheet = SHKActionSheet::actionSheetForItem(SHKItem::text(text(story)));
  if (auto* nav = screen.navigationController())
    sheet->showFromToolbar(nav->toolbar());
  else
    sheet->showInView(*screen.view());
}

}  // namespace story_share
