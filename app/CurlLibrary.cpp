#include "app/CurlLibrary.h"

#include <cstdarg>

#include "app/SharedLibrary.h"
#include "platform/net/Initialize.h"

// The definitions below stand in for libcurl's own in this program only: hidden, so that libcurl
// itself (and the WebKit module) never binds to them.
#pragma GCC visibility push(hidden)
// Plain declarations: the checking macros would rename the definitions.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

namespace {

// libcurl's entry points, looked up once; the first caller opens the library and every other
// caller waits until that is done.
struct Entries {
  decltype(&curl_global_init) globalInit;
  decltype(&curl_easy_init) easyInit;
  decltype(&curl_easy_cleanup) easyCleanup;
  decltype(&curl_easy_perform) easyPerform;
  decltype(&curl_easy_setopt) easySetopt;
  decltype(&curl_easy_getinfo) easyGetinfo;
  decltype(&curl_easy_strerror) easyStrerror;
  decltype(&curl_multi_init) multiInit;
  decltype(&curl_multi_cleanup) multiCleanup;
  decltype(&curl_multi_add_handle) multiAddHandle;
  decltype(&curl_multi_remove_handle) multiRemoveHandle;
  decltype(&curl_multi_setopt) multiSetopt;
  decltype(&curl_multi_socket_action) multiSocketAction;
  decltype(&curl_multi_info_read) multiInfoRead;
  decltype(&curl_share_init) shareInit;
  decltype(&curl_share_cleanup) shareCleanup;
  decltype(&curl_share_setopt) shareSetopt;
  decltype(&curl_slist_append) slistAppend;
  decltype(&curl_slist_free_all) slistFreeAll;
};

Entries open() {
  // Bound at once, on the opening thread, rather than symbol by symbol at first use.
  const SharedLibrary library("libcurl.so.4");
  Entries e;
  library.find("curl_global_init", e.globalInit);
  library.find("curl_easy_init", e.easyInit);
  library.find("curl_easy_cleanup", e.easyCleanup);
  library.find("curl_easy_perform", e.easyPerform);
  library.find("curl_easy_setopt", e.easySetopt);
  library.find("curl_easy_getinfo", e.easyGetinfo);
  library.find("curl_easy_strerror", e.easyStrerror);
  library.find("curl_multi_init", e.multiInit);
  library.find("curl_multi_cleanup", e.multiCleanup);
  library.find("curl_multi_add_handle", e.multiAddHandle);
  library.find("curl_multi_remove_handle", e.multiRemoveHandle);
  library.find("curl_multi_setopt", e.multiSetopt);
  library.find("curl_multi_socket_action", e.multiSocketAction);
  library.find("curl_multi_info_read", e.multiInfoRead);
  library.find("curl_share_init", e.shareInit);
  library.find("curl_share_cleanup", e.shareCleanup);
  library.find("curl_share_setopt", e.shareSetopt);
  library.find("curl_slist_append", e.slistAppend);
  library.find("curl_slist_free_all", e.slistFreeAll);
  return e;
}

const Entries& curl() {
  static const Entries entries = open();
  return entries;
}

// The one argument after the option, read with the type libcurl reads it with: options are
// numbered by the type of their argument.
template <typename Call>
auto withOption(int option, va_list args, Call call) {
  if (option < CURLOPTTYPE_OBJECTPOINT) return call(va_arg(args, long));
  if (option < CURLOPTTYPE_FUNCTIONPOINT) return call(va_arg(args, void*));
  if (option < CURLOPTTYPE_OFF_T) return call(va_arg(args, void (*)()));
  if (option < CURLOPTTYPE_BLOB) return call(va_arg(args, curl_off_t));
  return call(va_arg(args, void*));
}

}  // namespace

CurlLibrary::CurlLibrary() : opening_([] { net::initialize(); }) {}

CurlLibrary::~CurlLibrary() {
  opening_.join();
}

CURLcode curl_global_init(long flags) {
  return curl().globalInit(flags);
}

CURL* curl_easy_init() {
  return curl().easyInit();
}

void curl_easy_cleanup(CURL* handle) {
  curl().easyCleanup(handle);
}

CURLcode curl_easy_perform(CURL* handle) {
  return curl().easyPerform(handle);
}

CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
  va_list args;
  va_start(args, option);
  CURLcode result = withOption(
      option, args, [&](auto value) { return curl().easySetopt(handle, option, value); });
  va_end(args);
  return result;
}

// Every piece of information is read through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
  va_list args;
  va_start(args, info);
  void* out = va_arg(args, void*);
  va_end(args);
  return curl().easyGetinfo(handle, info, out);
}

const char* curl_easy_strerror(CURLcode code) {
  return curl().easyStrerror(code);
}

CURLM* curl_multi_init() {
  return curl().multiInit();
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
  return curl().multiCleanup(multi);
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* handle) {
  return curl().multiAddHandle(multi, handle);
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* handle) {
  return curl().multiRemoveHandle(multi, handle);
}

// Multi options are numbered by their argument's type as easy options are.
CURLMcode curl_multi_setopt(CURLM* multi, CURLMoption option, ...) {
  va_list args;
  va_start(args, option);
  CURLMcode result = withOption(
      option, args, [&](auto value) { return curl().multiSetopt(multi, option, value); });
  va_end(args);
  return result;
}

CURLMcode curl_multi_socket_action(CURLM* multi, curl_socket_t socket, int events, int* running) {
  return curl().multiSocketAction(multi, socket, events, running);
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* left) {
  return curl().multiInfoRead(multi, left);
}

CURLSH* curl_share_init() {
  return curl().shareInit();
}

CURLSHcode curl_share_cleanup(CURLSH* share) {
  return curl().shareCleanup(share);
}

// Locking and unlocking take a function, the user data a pointer, sharing and unsharing a
// number.
CURLSHcode curl_share_setopt(CURLSH* share, CURLSHoption option, ...) {
  va_list args;
  va_start(args, option);
  CURLSHcode result;
  if (option == CURLSHOPT_SHARE || option == CURLSHOPT_UNSHARE) {
    result = curl().shareSetopt(share, option, va_arg(args, int));
  } else if (option == CURLSHOPT_USERDATA) {
    result = curl().shareSetopt(share, option, va_arg(args, void*));
  } else {
    result = curl().shareSetopt(share, option, va_arg(args, void (*)()));
  }
  va_end(args);
  return result;
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
  return curl().slistAppend(list, text);
}

void curl_slist_free_all(curl_slist* list) {
  curl().slistFreeAll(list);
}

#pragma GCC visibility pop
