#pragma once
#include <optional>
#include <string_view>

#include "platform/net/Url.h"

// The address of `path` (with its query, if any) on one of a share service's configured hosts,
// or nothing when the configured host and the path do not make an address.
std::optional<net::Url> serviceAddress(std::string_view service, std::string_view host,
                                       std::string_view path);
