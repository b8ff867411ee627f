#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"

// An archivable class for the archive tests, with one member of each kind.
struct Note {
  std::optional<std::string> text;
  std::optional<std::string> missing;
  int64_t count = 0;
  bool flag = false;
  double weight = 0;
  std::shared_ptr<Note> child;
  std::vector<std::shared_ptr<Note>> children;
  std::optional<store::Plist> extra;

  static std::vector<std::string> keyedClassNames() { return {"Note", "NSObject"}; }

  void encodeWithCoder(store::KeyedArchiver& coder) const {
    coder.encodeObject(text, "text");
    coder.encodeObject(missing, "missing");
    coder.encodeInteger(count, "count");
    coder.encodeBool(flag, "flag");
    coder.encodeDouble(weight, "weight");
    coder.encodeObject(child, "child");
    coder.encodeObject(children, "children");
    if (extra) coder.encodeObject(*extra, "extra");
  }

  static std::shared_ptr<Note> initWithCoder(store::KeyedUnarchiver& coder) {
    auto note = std::make_shared<Note>();
    note->text = coder.decodeStringForKey("text");
    note->missing = coder.decodeStringForKey("missing");
    note->count = coder.decodeIntegerForKey("count");
    note->flag = coder.decodeBoolForKey("flag");
    note->weight = coder.decodeDoubleForKey("weight");
    note->child = coder.decodeObjectForKey<Note>("child");
    note->children = coder.decodeArrayForKey<Note>("children");
    note->extra = coder.decodePropertyListForKey("extra");
    return note;
  }
};
