#pragma once
#include <string>

// Opens an address with the desktop's default handler for its scheme (the browser, the mail
// program) on the window's display. False when the launch fails.
bool openWithDesktop(const std::string& url);
