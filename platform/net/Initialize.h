#pragma once

namespace net {

// Global libcurl set-up. Safe to call many times and from any thread (the work happens once), but
// the first call must come before other threads start using libcurl: program entry points call
// it first thing. UrlLoader calls it too.
void initialize();

}  // namespace net
