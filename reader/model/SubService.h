#pragma once
#include <memory>
#include <string>

// One sub-category of a news category: display name and story feed address.
class SubService {
 public:
  std::string name;
  std::string link;
};

using SubServicePtr = std::shared_ptr<SubService>;
