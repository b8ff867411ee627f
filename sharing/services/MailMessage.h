#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An e-mail as it goes over SMTP: an HTML body and attachments in a MIME message (RFC 5322,
// 2045-2047, 2231). Header values are folded onto one line (CR, LF and other controls become
// spaces), so nothing from a title or address can add a header; non-ASCII subjects and file
// names are encoded; the body and attachments travel as Base64.
class MailMessage {
 public:
  struct Attachment {
    std::string filename;
    std::string mimeType;
    std::vector<uint8_t> data;
  };

  std::string from;
  std::vector<std::string> to;
  std::vector<std::string> cc;
  std::string subject;
  std::string htmlBody;
  std::vector<Attachment> attachments;

  // Whether `address` is one plain mailbox ("local@domain", printable ASCII, no spaces, commas,
  // angle brackets or controls), so it can go into a header and an SMTP command as it is.
  static bool isValidAddress(std::string_view address);
  // Splits "a@x, b@y" into addresses, dropping blanks.
  static std::vector<std::string> splitAddresses(std::string_view list);

  // The first problem that keeps the message from being sent, or nothing.
  std::optional<std::string> problem() const;
  // The message bytes with CRLF line ends. `boundary` and `date` are fixed by tests; empty
  // means a random boundary and the current time.
  std::string build(std::string boundary = {}, std::string date = {}) const;

  // Helpers, public for tests.
  // "=?UTF-8?B?…?=" words for text that is not plain ASCII, else the text; controls flattened.
  static std::string encodeHeaderText(std::string_view text);
  // A Content-Disposition filename parameter: quoted ASCII, or RFC 2231 filename*=UTF-8''….
  static std::string filenameParameter(std::string_view filename);
};
