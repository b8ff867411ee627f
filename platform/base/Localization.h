#pragma once
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/base/TextFormat.h"

// The program's user-visible texts in the user's language, from the gettext catalogues of the
// domain "vemo", keyed by the English text. A key the catalogue does not hold, or any key in
// the C locale, comes back unchanged.
namespace base {

// Takes the message language from the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) and
// binds the catalogues in `dir`; when `dir` is empty: $VEMO_LOCALE_DIR, else the build tree's
// catalogues, else the installed ones. A language whose system locale is not installed is
// still honoured (its messages are looked up through the C.UTF-8 locale). Texts come back as
// UTF-8. Call at start, before other threads run.
void initializeLocalization(const std::filesystem::path& dir = {});
// The folder the catalogues are read from.
std::filesystem::path localizationDirectory();

std::string localizedString(std::string_view key);

// The localized `key` used as a format (see TextFormat.h). A translation whose specifiers do
// not fit the arguments falls back to the key; a key that does not fit throws FormatError.
std::string localizedFormat(std::string_view key, std::initializer_list<FormatArg> args);
template <typename... Args>
std::string localized(std::string_view key, const Args&... args) {
  return localizedFormat(key, {FormatArg(args)...});
}

}  // namespace base
