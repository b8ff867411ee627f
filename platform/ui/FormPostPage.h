#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/UrlRequest.h"

namespace ui {

// A page that POSTs a form request the moment it is shown, for web engines that cannot load a
// request with a method and a body themselves. The fields come from the request's body
// (multipart/form-data or application/x-www-form-urlencoded); every name, value and the address
// are HTML-escaped, line breaks included. The engine picks its own multipart boundary, and line
// breaks in values travel as CR LF, as every form submission sends them. Going back to the page
// does not post again: it goes back past it.
class FormPostPage {
 public:
  using Fields = std::vector<std::pair<std::string, std::string>>;

  // The fields of a form body; nothing when the body is of another type, malformed, or carries
  // a file.
  static std::optional<Fields> fields(const net::UrlRequest& request);
  // The page, or nothing when the request's body has no form fields to post.
  static std::optional<std::string> html(const net::UrlRequest& request);

  static std::string escape(std::string_view text);
};

}  // namespace ui
