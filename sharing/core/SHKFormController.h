#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/TableViewController.h"
#include "platform/ui/TextField.h"
#include "sharing/core/SHKFormFieldSettings.h"

// A grouped table of labelled fields with Cancel at the left and an action button at the right.
// It does not know what the fields mean: the right button (or the return key) asks the owner to
// validate, and the owner calls saveForm when the values are good. Values typed into rows that
// scrolled away are kept. The owner's actions should hold the owner weakly: the form may outlive
// it while it leaves the screen.
class SHKFormController : public ui::TableViewController, public ui::TextFieldDelegate {
 public:
  using Action = std::function<void(SHKFormController&)>;
  using Values = std::map<std::string, std::string>;
  struct Section {
    std::vector<SHKFormFieldSettings> rows;
    std::optional<std::string> header;
    std::optional<std::string> footer;
  };
  static constexpr const char* kCellIdentifier = "Cell";
  static constexpr double kLabelFontSize = 17;

  SHKFormController(ui::TableViewStyle style, std::optional<std::string> title,
                    const std::string& rightButtonTitle);

  void setValidateAction(Action action) { validate_ = std::move(action); }
  void setSaveAction(Action action) { save_ = std::move(action); }
  // Runs once the form's view has disappeared, after the current helper heard of it.
  void setDisappearAction(std::function<void()> action) { disappeared_ = std::move(action); }

  // Appends a section; the first one sets the label width.
  void addSection(std::vector<SHKFormFieldSettings> rows, std::optional<std::string> header,
                  std::optional<std::string> footer);
  const std::vector<Section>& sections() const { return sections_; }
  double labelWidth() const { return labelWidth_; }
  bool autoSelect() const { return autoSelect_; }
  void setAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
  ui::TextField* activeField() const { return activeField_.lock().get(); }

  void validateForm();
  void saveForm();
  void cancel();
  void close();

  // The values of the first section, by key.
  Values formValues() { return formValuesForSection(0); }
  Values formValuesForSection(int section);
  const SHKFormFieldSettings* rowSettingsForIndexPath(ui::IndexPath indexPath) const;

  // The first label width: the widest text or password label in bold system 17.
  static double labelWidthFor(const std::vector<SHKFormFieldSettings>& rows);

  // Keeps a row's value as the user changes it, so it outlives the row's cell.
  void keepValue(const std::string& key, const std::string& value) { values_[key] = value; }
  // Sets a row's value as if typed: kept, and shown by its cell when it has one.
  void setValueForKey(const std::string& key, const std::string& value);

  void textFieldDidBeginEditing(ui::TextField& field) override;
  void textFieldDidChange(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

  int numberOfSectionsInTableView(ui::TableView&) override { return int(sections_.size()); }
  int numberOfRowsInSection(ui::TableView&, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  std::optional<std::string> titleForHeaderInSection(ui::TableView&, int section) override;
  std::optional<std::string> titleForFooterInSection(ui::TableView&, int section) override;

  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

 private:
  Action validate_;
  Action save_;
  std::function<void()> disappeared_;
  std::vector<Section> sections_;
  Values values_;
  double labelWidth_ = 0;
  std::weak_ptr<ui::TextField> activeField_;
  bool autoSelect_ = false;
};

// The form the framework makes, so a host program can restyle it.
class SHKCustomFormController : public SHKFormController {
 public:
  using SHKFormController::SHKFormController;
};
