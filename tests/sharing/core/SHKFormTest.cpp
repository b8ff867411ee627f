#include "sharing/core/SHKFormController.h"

#include "sharing/core/SHKFormFieldCell.h"
#include "tests/sharing/core/SharingTestSupport.h"

using Field = SHKFormFieldSettings;
using Values = SHKFormController::Values;

namespace {

class SHKFormTest : public SharingTest {
 protected:
  std::shared_ptr<SHKCustomFormController> showForm(std::vector<Field> rows,
                                                    std::vector<Field> second = {}) {
    auto form =
        std::make_shared<SHKCustomFormController>(ui::TableViewStyle::Grouped, "Login", "Login");
    form->addSection(std::move(rows), std::nullopt, "footer");
    if (!second.empty()) form->addSection(std::move(second), std::nullopt, std::nullopt);
    form->setValidateAction([this](SHKFormController&) { ++validated_; });
    form->setSaveAction([this](SHKFormController&) { ++saved_; });
    SHK::currentHelper().showViewController(form);
    runFor(0.5);
    window_->layoutIfNeeded();
    return form;
  }
  SHKFormFieldCell* cell(SHKFormController& form, int row) {
    return dynamic_cast<SHKFormFieldCell*>(form.tableView().cellForRowAtIndexPath({0, row}));
  }
  int validated_ = 0, saved_ = 0;
};

TEST_F(SHKFormTest, RowsPlaceTheirControlAndReportValues) {
  auto form = showForm({Field::make("Username", "username", Field::Text, "ann"),
                        Field::make("Password", "password", Field::Password),
                        Field::make("Private", "private", Field::Switch, "1")},
                       {Field::make("Auto Share", "autoShare", Field::Switch, "0")});
  EXPECT_TRUE(cell(*form, 1)->textField()->isSecureTextEntry());
  cell(*form, 1)->textField()->editText("se+cr#t");
  cell(*form, 2)->toggle()->setOn(false);
  EXPECT_EQ(form->formValues(),
            (Values{{"username", "ann"}, {"password", "se+cr#t"}, {"private", "0"}}));
  EXPECT_EQ(form->formValuesForSection(1), (Values{{"autoShare", "0"}}));

  // The return key asks for validation only; saving closes the form.
  auto* field = cell(*form, 0)->textField();
  field->becomeFirstResponder();
  EXPECT_TRUE(field->returnKeyPressed());
  EXPECT_EQ(validated_, 1);
  EXPECT_EQ(saved_, 0);
  form->saveForm();
  runFor(0.5);
  EXPECT_EQ(root_->modalViewController(), nullptr);
}

// Rows scrolled away keep what was typed; a reused cell shows its own row's value.
TEST_F(SHKFormTest, TypedValuesSurviveCellReuse) {
  std::vector<Field> rows;
  for (int i = 0; i < 30; ++i) {
    rows.push_back(Field::make("Row " + std::to_string(i), "k" + std::to_string(i),
                               i % 3 == 2 ? Field::Switch : Field::Text));
  }
  auto form = showForm(rows);
  std::string paste = std::string(1 << 20, 'x') + "Tiếng Việt 🙂";
  cell(*form, 0)->textField()->editText(paste);
  cell(*form, 2)->toggle()->touchEnded({1, 1}, true);
  auto& table = form->tableView();
  table.setContentOffset({0, table.contentSize().height - table.bounds().height()});
  window_->layoutIfNeeded();
  ASSERT_EQ(cell(*form, 0), nullptr);
  for (int row : {27, 28, 29}) EXPECT_EQ(cell(*form, row)->getValue(), row % 3 == 2 ? "0" : "");
  EXPECT_EQ(form->formValues().at("k0"), paste);
  EXPECT_EQ(form->formValues().at("k2"), "1");
  table.setContentOffset({0, 0});
  window_->layoutIfNeeded();
  EXPECT_EQ(cell(*form, 0)->textField()->text(), paste);
  EXPECT_EQ(cell(*form, 2)->getValue(), "1");
}

}  // namespace
