#include "app/shell/ShellOptions.h"

#include <charconv>

namespace {

const char* const kScreens[] = {"home", "categories", "subcategories", "stories",
                                "lead", "article",    "saved"};

bool isScreen(const std::string& name) {
  for (const char* s : kScreens) {
    if (name == s) return true;
  }
  return false;
}

bool parseNumber(const std::string& text, double& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool parseIndex(const std::string& text, int& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

}  // namespace

bool ShellOptions::handles(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--site" || arg == "--scale") {
      ++i;  // skip the value
      continue;
    }
    if (arg.starts_with("-")) continue;
    return arg == "snapshot" || arg == "demo-report" || arg == "window";
  }
  // No command at all: the window.
  return true;
}

std::optional<ShellOptions> ShellOptions::parse(const std::vector<std::string>& args,
                                                std::string& error) {
  ShellOptions options;
  std::vector<std::string> operands;
  auto value = [&](size_t& i, const std::string& arg, std::string& into) {
    if (i + 1 == args.size()) {
      error = arg + " needs a value";
      return false;
    }
    into = args[++i];
    return true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string text;
    if (arg == "--help" || arg == "-h") {
      options.command = Command::Help;
      return options;
    } else if (arg == "--log") {
      options.log = true;
    } else if (arg == "--landscape") {
      options.landscape = true;
    } else if (arg == "--site") {
      if (!value(i, arg, options.site)) return std::nullopt;
      while (options.site.ends_with('/')) options.site.pop_back();
      if (options.site.find("://") == std::string::npos) {
        error = "--site needs an address such as http://example.com";
        return std::nullopt;
      }
    } else if (arg == "--scale") {
      if (!value(i, arg, text)) return std::nullopt;
      if (!parseNumber(text, options.scale) || options.scale < 0.5 || options.scale > 4) {
        error = "--scale needs a number from 0.5 to 4";
        return std::nullopt;
      }
    } else if (arg == "--style") {
      if (!value(i, arg, options.style)) return std::nullopt;
      if (options.style != "grid" && options.style != "list") {
        error = "--style is grid or list";
        return std::nullopt;
      }
    } else if (arg == "--index") {
      if (!value(i, arg, text)) return std::nullopt;
      if (!parseIndex(text, options.index)) {
        error = "--index needs a number from 0";
        return std::nullopt;
      }
    } else if (arg == "--out") {
      if (!value(i, arg, options.out)) return std::nullopt;
      if (!options.out.ends_with(".png")) {
        error = "--out needs a file name ending in .png";
        return std::nullopt;
      }
    } else if (arg == "--out-dir") {
      if (!value(i, arg, options.outDir)) return std::nullopt;
    } else if (arg.starts_with("-")) {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.empty() || operands[0] == "window") {
    options.command = Command::Window;
    if (operands.size() > 1) {
      error = "unexpected argument " + operands[1];
      return std::nullopt;
    }
  } else if (operands[0] == "snapshot") {
    options.command = Command::Snapshot;
    if (operands.size() < 2 || !isScreen(operands[1])) {
      error =
          "snapshot needs a screen: home, categories, subcategories, stories, lead, "
          "article or saved";
      return std::nullopt;
    }
    if (operands.size() > 2) {
      error = "unexpected argument " + operands[2];
      return std::nullopt;
    }
    options.screen = operands[1];
  } else if (operands[0] == "demo-report") {
    options.command = Command::DemoReport;
    if (operands.size() > 1) {
      error = "unexpected argument " + operands[1];
      return std::nullopt;
    }
  } else {
    error = "unknown command " + operands[0];
    return std::nullopt;
  }
  return options;
}
