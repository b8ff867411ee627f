#include "reader/screens/ServiceListViewController.h"

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "reader/screens/ScreenFactory.h"

namespace {

ui::Button* subServiceButtonOf(ui::TableViewCell& cell) {
  for (const auto& subview : cell.contentView()->subviews()) {
    if (auto* button = dynamic_cast<ui::Button*>(subview.get())) return button;
  }
  return nullptr;
}

}  // namespace

ServiceListViewController::ServiceListViewController(std::vector<ServicePtr> services,
                                                     const std::string& landscape)
    : CategoryListScreen(landscape), dataInArray(std::move(services)) {}

int ServiceListViewController::numberOfRowsInSection(ui::TableView& /*tableView*/,
                                                     int /*section*/) {
  return static_cast<int>(dataInArray.size());
}

std::shared_ptr<ui::Button> ServiceListViewController::makeSubServiceButton() {
  auto button = std::make_shared<ui::Button>(graphics::Rect{_landscape ? 410.0 : 250.0, 0, 69, 69});
  button->setBackgroundImage(graphics::Image::named("subbutton_default.png"),
                             ui::ControlState::Normal);
  button->setBackgroundImage(graphics::Image::named("subbutton_pressed.png"),
                             ui::ControlState::Highlighted);
  // The action belongs to the button, so the button outlives every call of it.
  ui::Button* sender = button.get();
  button->addTarget([this, sender] { subServiceBtnPush(*sender); });
  return button;
}

std::shared_ptr<ui::TableViewCell> ServiceListViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath indexPath) {
  const Service& service = *dataInArray.at(static_cast<size_t>(indexPath.row));
  const bool withButton = !service.subService.empty();
  const char* identifier = withButton ? kButtonCellIdentifier : kCellIdentifier;

  auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
  if (!cell) {
    cell = makeCell(identifier);
    if (withButton) {
      base::log(base::format("%s count = %d", service.name.c_str(),
                             static_cast<int>(service.subService.size())));
      cell->contentView()->addSubview(makeSubServiceButton());
    }
  }
  if (withButton) {
    base::log(base::format("tag = %d", indexPath.row));
    if (ui::Button* button = subServiceButtonOf(*cell)) button->setTag(indexPath.row);
  }
  cell->textLabel()->setText(service.name);
  return cell;
}

void ServiceListViewController::didSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                        ui::IndexPath indexPath) {
  const Service& service = *dataInArray.at(static_cast<size_t>(indexPath.row));
  openStories(service.name, service.link);
}

void ServiceListViewController::subServiceBtnPush(const ui::Button& sender) {
  if (sender.tag() < 0 || static_cast<size_t>(sender.tag()) >= dataInArray.size()) return;
  const Service& service = *dataInArray[static_cast<size_t>(sender.tag())];
  if (service.subService.empty()) return;
  const auto& make = ScreenFactory::shared().subServiceList;
  if (make) pushScreen(make(service.subService, landscapeString(_landscape)));
}
