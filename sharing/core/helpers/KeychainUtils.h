#pragma once
#include <optional>
#include <string>

// An error of the keychain helper: domain "KeychainUtilsErrorDomain" and a code; code 0 is no
// error.
struct KeychainUtilsError {
  std::string domain;
  long code = 0;
  explicit operator bool() const { return code != 0; }
};

// One secret string per (user name, service name) in the program's keychain. Failures come
// back through the optional error out-parameter and a nil / false result; a missing item is no
// error when reading. Safe to call from any thread.
class KeychainUtils {
 public:
  static constexpr const char* kErrorDomain = "KeychainUtilsErrorDomain";
  // A required argument is missing.
  static constexpr long kMissingArgument = -2000;
  // An item exists for the pair but holds no password.
  static constexpr long kNoPasswordData = -1999;
  // Any other code is the store's status (store::keychain_status), e.g. -25308 for a locked
  // collection, -25291 when the Secret Service does not answer, -26275 for a stored secret
  // that is not UTF-8 text.
  static constexpr long kNotText = -26275;

  static std::optional<std::string> getPasswordForUsername(
      const std::optional<std::string>& username, const std::optional<std::string>& serviceName,
      KeychainUtilsError* error);
  // Writes nothing and returns true when the same password is stored already, or another one
  // is and updateExisting is false. Returns false whenever the write failed.
  static bool storeUsername(const std::optional<std::string>& username,
                            const std::optional<std::string>& password,
                            const std::optional<std::string>& serviceName, bool updateExisting,
                            KeychainUtilsError* error);
  static bool deleteItemForUsername(const std::optional<std::string>& username,
                                    const std::optional<std::string>& serviceName,
                                    KeychainUtilsError* error);
};
