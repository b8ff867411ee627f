#pragma once
#include <optional>
#include <string_view>

// The sandbox's way to try a service's error answers: a shared link (or title) holding
// "sandbox-status=NNN" makes the endpoint answer with that status (100 to 599).
std::optional<int> statusFromLink(std::string_view text);
