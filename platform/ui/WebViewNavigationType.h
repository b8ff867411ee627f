#pragma once

namespace ui {

// What started a navigation in a web view, in the device's order.
enum class WebViewNavigationType {
  LinkClicked,
  FormSubmitted,
  BackForward,
  Reload,
  FormResubmitted,
  Other,
};

}  // namespace ui
