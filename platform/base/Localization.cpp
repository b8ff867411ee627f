#include "platform/base/Localization.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

// GNU gettext's catalogue generation: raising it drops translations looked up before, which
// are cached by locale name and not by LANGUAGE.
extern "C" int _nl_msg_cat_cntr;

namespace base {

namespace {

constexpr const char* kDomain = "vemo";
std::filesystem::path boundDirectory;

bool isPlainC(const char* locale) {
  return !locale || !*locale || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0;
}

// The language the environment asks messages to be in, without codeset, as gettext's LANGUAGE
// takes it; empty for none or the C locale.
std::string requestedLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    if (isPlainC(value) || std::strncmp(value, "C.", 2) == 0) return {};
    std::string language = value;
    return language.substr(0, language.find_first_of(".@"));
  }
  return {};
}

std::filesystem::path defaultDirectory() {
  std::error_code ec;
  if (const char* env = std::getenv("VEMO_LOCALE_DIR"); env && *env) return env;
  if (std::filesystem::is_directory(VEMO_BUILD_LOCALE_DIR, ec)) return VEMO_BUILD_LOCALE_DIR;
  return VEMO_INSTALL_LOCALE_DIR;
}

}  // namespace

void initializeLocalization(const std::filesystem::path& dir) {
  const char* locale = std::setlocale(LC_MESSAGES, "");
  if (isPlainC(locale)) {
    // The user's locale is not installed here: gettext ignores LANGUAGE in the C locale, so
    // look messages up through C.UTF-8 in the language the environment names.
    // A LANGUAGE the user set takes precedence, as gettext has it.
    std::string language = requestedLanguage();
    if (!language.empty()) {
      std::setlocale(LC_MESSAGES, "C.UTF-8");
      setenv("LANGUAGE", language.c_str(), 0);
    }
  }
  boundDirectory = dir.empty() ? defaultDirectory() : dir;
  bindtextdomain(kDomain, boundDirectory.c_str());
  bind_textdomain_codeset(kDomain, "UTF-8");
  ++_nl_msg_cat_cntr;
}

std::filesystem::path localizationDirectory() {
  return boundDirectory;
}

std::string localizedString(std::string_view key) {
  std::string k(key);
  return dgettext(kDomain, k.c_str());
}

std::string localizedFormat(std::string_view key, std::initializer_list<FormatArg> args) {
  std::string text = localizedString(key);
  if (text != key) {
    try {
      return formatText(text, args);
    } catch (const FormatError&) {
      // A catalogue that slipped past the build's check: the English text still fits.
    }
  }
  return formatText(key, args);
}

}  // namespace base
