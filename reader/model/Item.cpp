#include "reader/model/Item.h"

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"

void Item::encodeWithCoder(store::KeyedArchiver& coder) const {
  coder.encodeObject(title, "ITEM_TITLE");
  coder.encodeObject(link, "ITEM_LINK");
  coder.encodeObject(description, "ITEM_DESCRIPTION");
  coder.encodeObject(pubDate, "ITEM_PUBDATE");
  coder.encodeObject(guid, "ITEM_GUID");
  coder.encodeObject(avatar, "ITEM_AVATAR");
  coder.encodeObject(imgLink, "ITEM_IMGLINK");
}

std::shared_ptr<Item> Item::initWithCoder(store::KeyedUnarchiver& coder) {
  auto item = std::make_shared<Item>();
  item->title = coder.decodeStringForKey("ITEM_TITLE");
  item->link = coder.decodeStringForKey("ITEM_LINK");
  item->description = coder.decodeStringForKey("ITEM_DESCRIPTION");
  item->pubDate = coder.decodeStringForKey("ITEM_PUBDATE");
  item->guid = coder.decodeStringForKey("ITEM_GUID");
  item->avatar = coder.decodeStringForKey("ITEM_AVATAR");
  item->imgLink = coder.decodeStringForKey("ITEM_IMGLINK");
  return item;
}
