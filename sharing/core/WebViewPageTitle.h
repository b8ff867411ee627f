#pragma once
#include <string>

#include "platform/ui/WebView.h"

// The title of the page a web view shows: its "document.title".
std::string pageTitle(ui::WebView& webView);
