#pragma once
#include "tests/sharing/core/SharingTestSupport.h"

// The service tests use the sharing window as it is: outcomes, panel text and alerts recorded.
using ServiceTest = SharingTest;
