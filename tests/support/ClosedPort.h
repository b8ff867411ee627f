#pragma once

namespace testing_support {

// A loopback port with nothing listening on it: connecting there is refused.
int closedPort();

}  // namespace testing_support
