#pragma once
// Shared by the Facebook client's tests: answer values as compact text, and a REST server that
// records each call.
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "facebook/FBRequest.h"
#include "facebook/FBValue.h"
#include "tests/support/LoopbackServer.h"

namespace testing_support {

// null, "text", [a,b], {key:value} (keys sorted).
inline std::string render(const FBValue& value) {
  switch (value.type()) {
    case FBValue::Type::Null:
      return "null";
    case FBValue::Type::String:
      return "\"" + std::string(value.text()) + "\"";
    case FBValue::Type::Array: {
      std::string out = "[";
      for (const FBValue& entry : *value.array())
        out += (out.size() > 1 ? "," : "") + render(entry);
      return out + "]";
    }
    case FBValue::Type::Dictionary: {
      std::string out = "{";
      for (const auto& [key, member] : *value.dictionary())
        out += (out.size() > 1 ? "," : "") + key + ":" + render(member);
      return out + "}";
    }
  }
  return "?";
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
  const std::string first = "--" + std::string(FBRequest::kBoundary) + "\r\n",
                    separator = "\r\n" + first;
  auto field = [](const std::string& head, const std::string& key, const std::string& end) {
    size_t at = head.find(key);
    return at == std::string::npos
               ? std::string()
               : head.substr(at + key.size(), head.find(end, at + key.size()) - at - key.size());
  };
  std::vector<RestCall::File> parts;
  size_t pos = first.size(), next;
  for (; body.starts_with(first) && (next = body.find(separator, pos)) != std::string::npos;
       pos = next + separator.size()) {
    size_t headEnd = body.find("\r\n\r\n", pos);
    if (headEnd > next) break;
    std::string head = body.substr(pos, headEnd - pos) + "\r\n";
    parts.push_back({field(head, " name=\"", "\""), field(head, "filename=\"", "\""),
                     field(head, "Content-Type: ", "\r\n"),
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
      RestCall call{req.path, req.method, req.get_header_value("User-Agent"),
                    req.get_header_value("X-Sent-Content-Type"), req.body, {}, {}};
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
