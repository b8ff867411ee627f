#include "sharing/services/SmtpDelivery.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>

namespace {

struct Upload {
  std::string_view rest;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  size_t n = std::min(size * count, upload->rest.size());
  std::memcpy(buffer, upload->rest.data(), n);
  upload->rest.remove_prefix(n);
  return n;
}

// A host as it goes into the address: IPv6 literals in brackets.
std::string urlHost(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

SmtpDelivery::Result SmtpDelivery::send(const Account& account, const std::string& from,
                                        const std::vector<std::string>& recipients,
                                        std::string_view message) {
  using Security = SHKServiceConfig::Security;
  const SHKServiceConfig::Mail& mail = account.mail;
  if (mail.server.empty()) return {false, "No mail account is set up"};
  if (mail.security == Security::None && !SHKServiceConfig::isLoopback(mail.server))
    return {false, "The mail server " + mail.server + " would be reached without encryption"};
  if (recipients.empty()) return {false, "There is no recipient"};

  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return {false, "The mail connection could not be set up"};
  CURL* h = curl.get();
  const std::string url = std::string(mail.security == Security::Tls ? "smtps://" : "smtp://") +
                          urlHost(mail.server) + ":" + std::to_string(mail.effectivePort());
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcpt(nullptr, curl_slist_free_all);
  for (const std::string& r : recipients) rcpt.reset(curl_slist_append(rcpt.release(), r.c_str()));

  Upload upload{message};
  char errorBuffer[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  if (mail.security == Security::StartTls) curl_easy_setopt(h, CURLOPT_USE_SSL, CURLUSESSL_ALL);
  if (!mail.user.empty()) {
    curl_easy_setopt(h, CURLOPT_USERNAME, mail.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, account.password.c_str());
  }
  curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(h, CURLOPT_MAIL_RCPT, rcpt.get());
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h, CURLOPT_READFUNCTION, readMessage);
  curl_easy_setopt(h, CURLOPT_READDATA, &upload);
  curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, account.timeoutSeconds);
  curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, account.timeoutSeconds);
  // A server that stops taking data is given up after the same time.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, account.timeoutSeconds);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);

  CURLcode code = curl_easy_perform(h);
  if (code == CURLE_OK) return {true, {}};
  long answer = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &answer);
  std::string error = "The message could not be sent: ";
  error += *errorBuffer ? errorBuffer : curl_easy_strerror(code);
  if (answer > 0 && error.find(std::to_string(answer)) == std::string::npos)
    error += " (server answer " + std::to_string(answer) + ")";
  return {false, error, code == CURLE_LOGIN_DENIED};
}
