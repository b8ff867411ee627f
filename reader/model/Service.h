#pragma once
#include <memory>
#include <string>
#include <vector>

#include "reader/model/SubService.h"

// One news category of the site's menu, with its sub-categories (possibly none).
class Service {
 public:
  std::string name;
  std::string link;
  std::vector<SubServicePtr> subService;
};

using ServicePtr = std::shared_ptr<Service>;
