#pragma once
#include <vector>

#include "sharing/core/SHKFormFieldSettings.h"

class SHKItem;

// The share form of the bookmarking services: Title, Tags and Notes from the item, and a
// "Shared" switch that starts off.
std::vector<SHKFormFieldSettings> bookmarkFields(const SHKItem& item);
