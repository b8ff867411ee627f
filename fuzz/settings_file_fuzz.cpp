// Any bytes as the settings file. The saved stories and the view style read from it are
// written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "fuzz/ScratchFolder.h"
#include "platform/store/UserDefaults.h"
#include "reader/model/Utilities.h"

namespace {

const std::filesystem::path& folder() {
  static const ScratchFolder scratch("settings-fuzz");
  return scratch.path();
}

bool sameStories(const std::vector<ItemPtr>& a, const std::vector<ItemPtr>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const Item &x = *a[i], &y = *b[i];
    if (x.title != y.title || x.link != y.link || x.description != y.description ||
        x.pubDate != y.pubDate || x.guid != y.guid || x.avatar != y.avatar ||
        x.imgLink != y.imgLink)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A file that does not parse is moved aside next to it: start from an empty folder each time.
  for (const auto& entry : std::filesystem::directory_iterator(folder()))
    std::filesystem::remove_all(entry.path());
  const auto file = folder() / "defaults.plist";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), size);

  store::UserDefaults defaults(file);
  Utilities settings(defaults);
  std::vector<ItemPtr> stories = settings.getBookmarkItem();
  std::string style = settings.getStyleView();

  if (!settings.setBookmarkItem(stories) || !settings.setStyleView(style)) __builtin_trap();
  store::UserDefaults reopened(file);
  Utilities again(reopened);
  if (!sameStories(again.getBookmarkItem(), stories) || again.getStyleView() != style)
    __builtin_trap();
  return 0;
}
