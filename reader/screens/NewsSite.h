#pragma once
#include <string>
#include <string_view>

// The news site the reader talks to. The base address ("http://host[:port]", no trailing "/")
// is set once at start-up from the command line, the configuration file or the demo site.
class NewsSite {
 public:
  static constexpr std::string_view kHomeFeedPath = "/Home.rss";
  static constexpr std::string_view kMenuPath = "/mobi/app_menu.php";
  static constexpr std::string_view kToolsPath = "/mobi/tools.php";

  static std::string baseAddress();
  static void setBaseAddress(std::string address);
  // The base address followed by `path`.
  static std::string address(std::string_view path);

  // An earlier base address of the same site (the demo site on another port): links saved under
  // it are opened on the current base address. Empty: none.
  static void setFormerAddress(std::string address);
  // `link` with a former base address replaced by the current one; any other link unchanged.
  static std::string resolve(std::string_view link);
};
