#pragma once
#include <iosfwd>
#include <map>
#include <memory>
#include <string>

#include "platform/base/NotificationCenter.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

class SHKFormController;
class SHKSharer;

// Stands in for the user at a terminal while a share runs headless: the current helper presents
// the service's screens in an off-screen window, and this answers them. A login form asks its
// fields on the terminal, in order; a share form takes the given values and is sent; alerts and
// the progress panel's texts are printed. A second relogin is not asked for: the share fails.
class TerminalShareDriver {
 public:
  enum Result { Finished = 0, Failed = 1, WindowOnly = 2, NothingDone = 3 };

  TerminalShareDriver(std::istream& in, std::ostream& out, std::ostream& err, bool interactive);
  ~TerminalShareDriver();

  // Values for the share form's fields, by key.
  void setShareValues(std::map<std::string, std::string> values) {
    shareValues_ = std::move(values);
  }
  // Starts the share with `start` (which returns the service) and runs the loop until it is over.
  Result run(const std::function<std::shared_ptr<SHKSharer>()>& start);

 private:
  // Answers what is on screen now; false when the user ended the input.
  bool answerScreens();
  bool answerLogin(SHKFormController& form);
  void answerShareForm(SHKFormController& form);
  void printAlerts();
  void printProgress();
  std::optional<std::string> readLine(const std::string& prompt, bool secret);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool interactive_;
  std::map<std::string, std::string> shareValues_;
  std::shared_ptr<ui::ViewController> root_;
  std::unique_ptr<ui::Window> window_;
  std::vector<base::ObserverToken> observers_;
  const void* answered_ = nullptr;
  int logins_ = 0;
  int failures_ = 0;
  // The last outcome reported: a share that failed and then succeeded after a new login
  // succeeded.
  enum class Outcome { None, Finished, Failed, Cancelled } last_ = Outcome::None;
  bool cancelled_ = false;
  bool alerted_ = false;
  bool completedShown_ = false;
  bool windowOnly_ = false;
  std::string lastProgress_;
};
