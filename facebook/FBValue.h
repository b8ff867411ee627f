#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One value of a REST answer: null, text, an array or a dictionary keyed by element names.
// Move-only, and released without recursion, so answers nested to any depth are safe to drop.
class FBValue {
 public:
  using Array = std::vector<FBValue>;
  using Dictionary = std::map<std::string, FBValue, std::less<>>;
  enum class Type { Null, String, Array, Dictionary };

  FBValue() = default;
  explicit FBValue(std::string text) : storage_(std::move(text)) {}
  static FBValue emptyArray();
  static FBValue emptyDictionary();

  FBValue(FBValue&& other) noexcept;
  FBValue& operator=(FBValue&& other) noexcept;
  FBValue(const FBValue&) = delete;
  FBValue& operator=(const FBValue&) = delete;
  ~FBValue();

  Type type() const { return static_cast<Type>(storage_.index()); }
  bool isNull() const { return type() == Type::Null; }
  bool isContainer() const { return type() == Type::Array || type() == Type::Dictionary; }

  // Each is null unless the value is of that kind.
  const std::string* string() const { return std::get_if<std::string>(&storage_); }
  const Array* array() const;
  Array* array();
  const Dictionary* dictionary() const;
  Dictionary* dictionary();

  // The text, or "" for any other kind.
  std::string_view text() const;
  // A dictionary's member or an array's entry; a null value when absent or of another kind.
  const FBValue& member(std::string_view key) const;
  const FBValue& at(std::size_t index) const;

 private:
  using Storage = std::variant<std::monostate, std::string, std::unique_ptr<Array>,
                               std::unique_ptr<Dictionary>>;
  // Empties this value, taking nested containers apart level by level on the heap.
  void release() noexcept;

  Storage storage_;
};
