#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace net {

// A web address, kept exactly as written (scheme and host are not lower-cased, no default port is
// dropped), with its parts split out. Like the platform's URL class it accepts only strings made of
// legal URL characters: blanks, control characters and non-ASCII letters make parse() fail; escape
// such text with escapeAddress() first.
class Url {
 public:
  // Parses an absolute ("http://host:8080/a?b#c") or relative ("/a/b?c") address.
  static std::optional<Url> parse(std::string_view text);

  const std::string& absoluteString() const { return text_; }
  // Empty for a relative address.
  const std::string& scheme() const { return scheme_; }
  // Without brackets for IPv6 literals; empty when the address has no authority.
  const std::string& host() const { return host_; }
  // The port as written, if any.
  std::optional<int> port() const { return port_; }
  // Still percent-escaped, as written; may be empty.
  const std::string& path() const { return path_; }
  // Without the "?"; nullopt when there is no "?" at all.
  const std::optional<std::string>& query() const { return query_; }
  const std::optional<std::string>& fragment() const { return fragment_; }
  // The address without "?query" and "#fragment".
  std::string withoutQuery() const;

  bool operator==(const Url& other) const { return text_ == other.text_; }

 private:
  std::string text_;
  std::string scheme_;
  std::string host_;
  std::optional<int> port_;
  std::string path_;
  std::optional<std::string> query_;
  std::optional<std::string> fragment_;
};

// The platform's default escaping of a whole address for loading: every byte that is not a legal
// URL character (controls, blank, non-ASCII, and " < > \ ^ ` { | }) becomes %XX (upper-case hex).
// Reserved characters (: / ? # [ ] @ ! $ & ' ( ) * + , ; =) and existing %XX escapes are kept, so
// an address that is already escaped passes unchanged; a "%" that starts no escape becomes "%25".
std::string escapeAddress(std::string_view text);

// Escaping of one component (OAuth, form values): every UTF-8 byte except ASCII letters, digits and
// "-", ".", "_", "~" becomes %XX (upper-case hex). A blank becomes "%20", never "+".
std::string escapeComponent(std::string_view text);

// Replaces every "%" followed by two hexadecimal digits with the byte they give; anything else
// (including "+") stays as it is.
std::string unescape(std::string_view text);

}  // namespace net
