#pragma once
#include <optional>
#include <string>
#include <utility>

#include "app/sandbox/SandboxRequest.h"

// The user name and password of a request's "Authorization: Basic" header, if it has one.
std::optional<std::pair<std::string, std::string>> basicAuth(const SandboxRequest& request);
