#pragma once
#include <string>
#include <string_view>

#include "platform/net/Url.h"

// Percent-encoding of one OAuth component: every UTF-8 byte except ASCII letters, digits and
// "-", ".", "_", "~" becomes "%XX" with upper-case hexadecimal digits ("%20" for a blank).
std::string URLEncodedString(std::string_view text);

// Replaces every "%" followed by two hexadecimal digits with that byte; "+" stays "+".
std::string URLDecodedString(std::string_view text);

// The URL's text up to, not including, its query or fragment: the base URL that OAuth signs.
std::string URLStringWithoutQuery(const net::Url& url);
