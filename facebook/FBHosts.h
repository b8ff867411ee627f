#pragma once
#include <string>

// Where the Facebook client connects: the REST API, the video upload API and the web site
// (log-in pages), each as "scheme://host[:port]", and the domain whose cookies make up a log-in.
struct FBHosts {
  std::string api = "https://api.facebook.com";
  std::string video = "https://api-video.facebook.com";
  std::string web = "https://www.facebook.com";
  std::string cookieDomain = "facebook.com";

  // The REST endpoint of `address`. It is reached over https, since calls carry the session
  // key; plain http is kept only for a loopback host (local test servers).
  static std::string restEndpoint(const std::string& address);
  // The same endpoint over https in every case.
  static std::string secureRestEndpoint(const std::string& address);
  // The host name of `address` (the domain of the API's error answers).
  static std::string hostOf(const std::string& address);
};
