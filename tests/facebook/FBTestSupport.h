#pragma once
// Shared by the Facebook client's tests: answer values as compact text, and a REST server that
// records each call.
#include <functional>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "facebook/FBRequest.h"
#include "facebook/FBValue.h"
#include "tests/support/LoopbackServer.h"

namespace testing_support {

// null, "text", [a,b], {key:value} (keys sorted).
inline std::string render(const FBValue& value) {
  if (value.isNull()) return "null";
  if (const std::string* text = value.string()) return "\"" + *text + "\"";
  std::string out;
  if (const FBValue::Array* array = value.array()) {
    for (const FBValue& entry : *array) out += "," + render(entry);
  } else {
    for (const auto& [key, member] : *value.dictionary()) out += "," + key + ":" + render(member);
  }
  out = out.empty() ? out : out.substr(1);
  return value.array() ? "[" + out + "]" : "{" + out + "}";
}

// One call as the server saw it: the query's and the multipart body's fields, and the files.
struct RestCall {
  struct File {
    std::string name, filename, type, value;
  };
  std::string path, httpMethod, userAgent, contentType, body;
  std::map<std::string, std::string> params;
  std::vector<File> files;
};

// The parts of a multipart body, which need not end with a closing boundary.
inline std::vector<RestCall::File> multipartParts(const std::string& body) {
  const std::string line = "--" + std::string(FBRequest::kBoundary) + "\r\n";
  std::vector<RestCall::File> parts;
  for (size_t pos = line.size(), next, headEnd;
       body.starts_with(line) && (next = body.find("\r\n" + line, pos)) != std::string::npos &&
       (headEnd = body.find("\r\n\r\n", pos)) < next;
       pos = next + 2 + line.size()) {
    const std::string head = body.substr(pos, headEnd - pos);
    auto field = [&head](const char* pattern) {
      std::smatch match;
      return std::regex_search(head, match, std::regex(pattern)) ? match[1].str() : "";
    };
    parts.push_back({field(" name=\"([^\"]*)"), field("filename=\"([^\"]*)"),
                     field("Content-Type: ([^\r]*)"),
                     body.substr(headEnd + 4, next - headEnd - 4)});
  }
  return parts;
}

// Answers every GET and POST with the text `answer` gives (on the server's thread), after
// recording the call. The multipart body is read as it comes: cpp-httplib's own reader wants a
// closing boundary and a name on every part.
class RestServer {
 public:
  explicit RestServer(std::function<std::string(const RestCall&)> answer)
      : answer_(std::move(answer)) {
    auto& s = server_.server();
    s.set_keep_alive_max_count(1);
    s.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
      auto& request = const_cast<httplib::Request&>(req);
      request.headers.emplace("X-Sent-Content-Type", req.get_header_value("Content-Type"));
      request.headers.erase("Content-Type");
      return httplib::Server::HandlerResponse::Unhandled;
    });
    auto handle = [this](const httplib::Request& req, httplib::Response& res) {
      RestCall call{req.path,
                    req.method,
                    req.get_header_value("User-Agent"),
                    req.get_header_value("X-Sent-Content-Type"),
                    req.body,
                    {},
                    {}};
      for (const auto& [name, value] : req.params) call.params[name] = value;
      for (RestCall::File& part : multipartParts(req.body)) {
        if (part.filename.empty()) {
          call.params[part.name] = part.value;
        } else {
          call.files.push_back(std::move(part));
        }
      }
      {
        std::lock_guard lock(mutex_);
        calls_.push_back(call);
      }
      res.set_content(answer_(call), "text/xml");
    };
    s.Post(".*", handle);
    s.Get(".*", handle);
    server_.start();
  }
  void stop() { server_.stop(); }
  std::string url(const std::string& path = "") const { return server_.url(path); }
  std::vector<RestCall> calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
  }

 private:
  std::function<std::string(const RestCall&)> answer_;
  std::mutex mutex_;
  std::vector<RestCall> calls_;
  LoopbackServer server_;  // last: stops before the members its handler uses go
};

}  // namespace testing_support
