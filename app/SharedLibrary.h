#pragma once
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

// A system library the program opens itself, when it is first needed, instead of having it loaded
// before main(). The library is bound at once and stays open; a library or a function that is
// missing ends the program with the loader's message.
class SharedLibrary {
 public:
  explicit SharedLibrary(const char* soname)
      : soname_(soname), handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) {
      std::fprintf(stderr, "vemo: cannot open %s: %s\n", soname, dlerror());
      std::abort();
    }
  }

  // Sets `out` to the library's function `name`.
  template <typename F>
  void find(const char* name, F& out) const {
    out = reinterpret_cast<F>(dlsym(handle_, name));
    if (!out) {
      std::fprintf(stderr, "vemo: %s lacks %s\n", soname_, name);
      std::abort();
    }
  }

 private:
  const char* soname_;
  void* handle_;
};
