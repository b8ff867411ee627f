#pragma once
#include <thread>

// The program opens libcurl (with its TLS, SSH, LDAP and Kerberos libraries, a quarter of all the
// libraries the program uses) itself instead of having it loaded before main(): this object
// opens and initialises it on a thread of its own while the program starts, and a call into
// libcurl made before that is done waits for it. The program's own definitions of the libcurl
// functions it calls (in CurlLibrary.cpp) forward to the opened library.
class CurlLibrary {
 public:
  // Starts opening the library.
  CurlLibrary();
  // Waits until the library is open.
  ~CurlLibrary();
  CurlLibrary(const CurlLibrary&) = delete;
  CurlLibrary& operator=(const CurlLibrary&) = delete;

 private:
  std::thread opening_;
};
