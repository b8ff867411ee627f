#pragma once
#include <string>

// One name/value pair of a request's query or form body.
class OARequestParameter {
 public:
  OARequestParameter() = default;
  OARequestParameter(std::string name, std::string value)
      : name_(std::move(name)), value_(std::move(value)) {}

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  const std::string& value() const { return value_; }
  void setValue(std::string value) { value_ = std::move(value); }

  std::string URLEncodedName() const;
  std::string URLEncodedValue() const;
  // The encoded name, "=", and the encoded value.
  std::string URLEncodedNameValuePair() const;

  bool operator==(const OARequestParameter&) const = default;

 private:
  std::string name_;
  std::string value_;
};
