#pragma once
#include <memory>

class SHKFormController;
class SHKSharer;

// What the web-service share services share while they check a login with their service.

// The login form as a shared pointer, found in the navigation stack that shows it; nullptr when
// it is not shown.
std::shared_ptr<SHKFormController> sharedForm(SHKFormController& form);
// "Logging In..." on the progress panel, unless the service is quiet.
void showLoggingIn(const SHKSharer& sharer);
// Takes the progress panel away, if there is one.
void hideLoggingIn();
