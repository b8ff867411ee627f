#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// One value of a REST answer: null, text, an array or a dictionary keyed by element names.
// Move-only, and released without recursion, so answers nested to any depth are safe to drop.
class FBValue {
 public:
  using Array = std::vector<FBValue>;
  // Members sorted by name, each name once.
  using Dictionary = std::vector<std::pair<std::string, FBValue>>;
  enum class Type { Null, String, Array, Dictionary };

  FBValue() = default;
  explicit FBValue(std::string text) : storage_(std::move(text)) {}
  static FBValue emptyArray();
  static FBValue emptyDictionary();

  // A moved-from value is null or an empty container.
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
  const Array* array() const { return std::get_if<Array>(&storage_); }
  Array* array() { return std::get_if<Array>(&storage_); }
  const Dictionary* dictionary() const { return std::get_if<Dictionary>(&storage_); }
  Dictionary* dictionary() { return std::get_if<Dictionary>(&storage_); }

  // Makes this value the given text.
  void setText(std::string_view text);

  // The text, or "" for any other kind.
  std::string_view text() const;
  // A dictionary's member or an array's entry; a null value when absent or of another kind.
  const FBValue& member(std::string_view key) const;
  const FBValue& at(std::size_t index) const;
  // Moves a dictionary's member out, leaving null in its place.
  FBValue takeMember(std::string_view key);

 private:
  using Storage = std::variant<std::monostate, std::string, Array, Dictionary>;
  // Takes nested containers apart level by level on the heap, so destroying this value does not
  // recurse; a container of plain values is left to ordinary destruction.
  void release() noexcept;

  Storage storage_;
};
