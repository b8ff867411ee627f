#pragma once

namespace ui {

// How the interface is turned. Landscape left has the home button on the left, so the device
// itself is turned right (and the other way round).
enum class InterfaceOrientation { Portrait, PortraitUpsideDown, LandscapeLeft, LandscapeRight };

// How the device is held.
enum class DeviceOrientation {
  Unknown,
  Portrait,
  PortraitUpsideDown,
  LandscapeLeft,
  LandscapeRight,
  FaceUp,
  FaceDown
};

constexpr bool isLandscape(InterfaceOrientation o) {
  return o == InterfaceOrientation::LandscapeLeft || o == InterfaceOrientation::LandscapeRight;
}

constexpr DeviceOrientation deviceOrientationFor(InterfaceOrientation o) {
  switch (o) {
    case InterfaceOrientation::Portrait:
      return DeviceOrientation::Portrait;
    case InterfaceOrientation::PortraitUpsideDown:
      return DeviceOrientation::PortraitUpsideDown;
    case InterfaceOrientation::LandscapeLeft:
      return DeviceOrientation::LandscapeRight;
    case InterfaceOrientation::LandscapeRight:
      return DeviceOrientation::LandscapeLeft;
  }
  return DeviceOrientation::Unknown;
}

}  // namespace ui
