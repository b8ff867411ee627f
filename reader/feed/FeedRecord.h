#pragma once
#include <variant>

#include "reader/model/Item.h"
#include "reader/model/Service.h"

// One record of a downloaded document: a story of a feed or a category of the menu.
using FeedRecord = std::variant<ItemPtr, ServicePtr>;
