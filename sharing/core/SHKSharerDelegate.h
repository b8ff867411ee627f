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
  // A quiet share is about to show one of its screens (a form, a page); false keeps it from
  // showing it.
  virtual bool sharerWillPresentScreen(SHKSharer&) { return true; }
};
