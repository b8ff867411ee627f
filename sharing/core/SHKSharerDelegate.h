#pragma once
#include "sharing/core/SHKError.h"

class SHKSharer;

// Hears how a share goes; every method is optional.
class SHKSharerDelegate {
 public:
  virtual ~SHKSharerDelegate() = default;
  virtual void sharerStartedSending(SHKSharer&) {}
  virtual void sharerFinishedSending(SHKSharer&) {}
  virtual void sharerFailedWithError(SHKSharer&, const SHKError&, bool /*shouldRelogin*/) {}
  virtual void sharerCancelledSending(SHKSharer&) {}
  // A quiet share asked to show one of its screens (a form, a page); `shown` is false when
  // there was no window to show it in.
  virtual void sharerPresentedScreen(SHKSharer&, bool /*shown*/) {}
};
