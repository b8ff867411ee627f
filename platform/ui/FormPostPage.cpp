#include "platform/ui/FormPostPage.h"

#include "platform/base/Strings.h"
#include "platform/net/Url.h"

namespace ui {

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string headerValue(const net::UrlRequest& request, std::string_view name) {
  for (const auto& [field, value] : request.allHeaderFields()) {
    if (lower(field) == name) return value;
  }
  return {};
}

// The value of `parameter` in a header value such as `form-data; name="a"`, quoted or not.
std::optional<std::string> parameter(std::string_view header, std::string_view parameter) {
  const std::string low = lower(header);
  size_t at = 0;
  while ((at = low.find(parameter, at)) != std::string::npos) {
    bool starts = at == 0 || low[at - 1] == ';' || low[at - 1] == ' ';
    size_t eq = at + parameter.size();
    if (!starts || eq >= low.size() || low[eq] != '=') {
      at = eq;
      continue;
    }
    std::string_view rest = header.substr(eq + 1);
    if (rest.starts_with('"')) {
      size_t close = rest.find('"', 1);
      if (close == std::string_view::npos) return std::nullopt;
      return std::string(rest.substr(1, close - 1));
    }
    return std::string(rest.substr(0, rest.find(';')));
  }
  return std::nullopt;
}

std::optional<FormPostPage::Fields> multipartFields(std::string_view body,
                                                    const std::string& boundary) {
  FormPostPage::Fields fields;
  const std::string delimiter = "--" + boundary;
  size_t at = body.find(delimiter);
  if (at == std::string_view::npos) return std::nullopt;
  at += delimiter.size();
  for (;;) {
    std::string_view rest = body.substr(at);
    if (rest.starts_with("--")) break;  // the closing delimiter
    if (!rest.starts_with("\r\n")) return std::nullopt;
    rest.remove_prefix(2);
    size_t end = rest.find("\r\n" + delimiter);
    if (end == std::string_view::npos) {
      // A body may end right after a delimiter line; anything else is cut short.
      if (rest.empty()) break;
      return std::nullopt;
    }
    std::string_view part = rest.substr(0, end);
    size_t blank = part.find("\r\n\r\n");
    if (blank == std::string_view::npos) return std::nullopt;
    std::optional<std::string> name;
    std::string_view headers = part.substr(0, blank);
    while (!headers.empty()) {
      size_t lineEnd = headers.find("\r\n");
      std::string_view line = headers.substr(0, lineEnd);
      headers.remove_prefix(lineEnd == std::string_view::npos ? headers.size() : lineEnd + 2);
      size_t colon = line.find(':');
      if (colon == std::string_view::npos) return std::nullopt;
      if (lower(line.substr(0, colon)) != "content-disposition") continue;
      if (parameter(line.substr(colon + 1), "filename")) return std::nullopt;
      name = parameter(line.substr(colon + 1), "name");
    }
    if (!name) return std::nullopt;
    fields.emplace_back(*name, std::string(part.substr(blank + 4)));
    at += 2 + end + 2 + delimiter.size();
  }
  return fields;
}

FormPostPage::Fields urlencodedFields(std::string_view body) {
  FormPostPage::Fields fields;
  auto decode = [](std::string_view text) {
    std::string plus(text);
    for (char& c : plus) {
      if (c == '+') c = ' ';
    }
    return net::unescape(plus);
  };
  while (!body.empty()) {
    size_t amp = body.find('&');
    std::string_view pair = body.substr(0, amp);
    body.remove_prefix(amp == std::string_view::npos ? body.size() : amp + 1);
    if (pair.empty()) continue;
    size_t eq = pair.find('=');
    fields.emplace_back(decode(pair.substr(0, eq)),
                        eq == std::string_view::npos ? "" : decode(pair.substr(eq + 1)));
  }
  return fields;
}

}  // namespace

std::optional<FormPostPage::Fields> FormPostPage::fields(const net::UrlRequest& request) {
  const std::string type = headerValue(request, "content-type");
  const std::string mime = lower(type.substr(0, type.find(';')));
  if (mime == "multipart/form-data") {
    std::optional<std::string> boundary = parameter(type, "boundary");
    if (!boundary || boundary->empty()) return std::nullopt;
    return multipartFields(request.httpBody(), *boundary);
  }
  if (mime == "application/x-www-form-urlencoded" || (mime.empty() && request.httpBody().empty())) {
    return urlencodedFields(request.httpBody());
  }
  return std::nullopt;
}

std::optional<std::string> FormPostPage::html(const net::UrlRequest& request) {
  std::optional<Fields> form = fields(request);
  if (!form) return std::nullopt;
  const std::string type = lower(headerValue(request, "content-type"));
  const bool multipart = type.starts_with("multipart/form-data");
  std::string page =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n"
      "<form id=\"post\" method=\"post\" action=\"" +
      escape(request.url().absoluteString()) + "\" enctype=\"" +
      (multipart ? "multipart/form-data" : "application/x-www-form-urlencoded") +
      "\" accept-charset=\"utf-8\">\n";
  for (const auto& [name, value] : *form) {
    page +=
        "<input type=\"hidden\" name=\"" + escape(name) + "\" value=\"" + escape(value) + "\">\n";
  }
  // Posts once; coming back to this page from the history goes on back instead.
  page +=
      "</form>\n<script>\n"
      "if (history.state === \"posted\") {\n"
      "  history.back();\n"
      "} else {\n"
      "  history.replaceState(\"posted\", \"\");\n"
      "  HTMLFormElement.prototype.submit.call(document.getElementById(\"post\"));\n"
      "}\n"
      "</script>\n</body></html>\n";
  return page;
}

std::string FormPostPage::escape(std::string_view text) {
  std::string out = base::escapeHtml(text);
  // As references, line breaks survive the parser's own line-break clean-up; a NUL has none.
  base::replaceAll(out, "\r", "&#13;");
  base::replaceAll(out, "\n", "&#10;");
  base::replaceAll(out, std::string_view("\0", 1), "&#65533;");
  return out;
}

}  // namespace ui
