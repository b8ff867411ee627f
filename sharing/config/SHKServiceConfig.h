#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Where the share services send their requests, their application keys, the mail account and the
// news site, read from "$XDG_CONFIG_HOME/vemo/vemo.conf" over compiled-in defaults. The file has
// the key "site" at its top, a section per share service class ("[SHKTwitter]") with one key per
// host the service talks to plus its keys and secrets, and a "[mail]" section.
//
// Share-service hosts are addresses with a scheme and an optional base path. Plain http is taken
// only for loopback hosts: signed requests, session keys and passwords never cross the network in
// clear. The news site and the OAuth callback addresses (which are never loaded) may use either.
class SHKServiceConfig {
 public:
  enum class Kind {
    Host,      // an address the service loads: https, or http to a loopback host
    Callback,  // an address only compared with, never loaded: http or https
    Text,      // a key, secret or name
  };
  struct Key {
    const char* name;
    Kind kind;
    const char* value;  // the compiled-in default
  };
  struct Service {
    const char* name;  // the share service's class name, which is also its section
    std::vector<Key> keys;
  };
  enum class Security { Tls, StartTls, None };
  struct Mail {
    std::string server;  // host name of the SMTP server; empty: no mail account
    int port = 0;        // 0: the security's usual port (465, 587, 25)
    Security security = Security::StartTls;
    std::string sender;
    std::string user;  // the password is kept in the keychain

    int effectivePort() const;
  };

  // The services that have hosts or keys, with their defaults.
  static const std::vector<Service>& services();
  // The program's configuration. Set it up at start, before anything shares.
  static SHKServiceConfig& shared();
  static std::filesystem::path defaultPath();
  // Whether `host` (an IP address without brackets, or a name) is this machine.
  static bool isLoopback(std::string_view host);

  // A share-service host address as the file would take it, without trailing "/"; "" with the
  // reason in `problem` when it is not one.
  static std::string hostAddress(std::string_view value, std::string& problem);

  SHKServiceConfig();

  // Reads the file at `path` over the values held. A missing file is no error unless
  // `mustExist`. When any line is wrong nothing is taken and `errors` gets one "FILE:LINE: …"
  // message per wrong line; unknown sections and keys only add to `warnings`.
  bool load(const std::filesystem::path& path, bool mustExist, std::vector<std::string>& errors,
            std::vector<std::string>& warnings);
  // The same for the text of a file called `name`.
  bool read(std::string_view text, const std::string& name, std::vector<std::string>& errors,
            std::vector<std::string>& warnings);

  // The news site's base address without a trailing "/", or "" when none is configured.
  const std::string& site() const { return site_; }
  // A service's host address without a trailing "/", a callback address, or a key's text; ""
  // for a key the service does not have.
  std::string value(std::string_view service, std::string_view key) const;
  const Mail& mail() const { return mail_; }
  // Replaces the mail account (the sandbox's mail sink).
  void setMail(Mail mail) { mail_ = std::move(mail); }

  // Points every host of every service at `base` + "/<class name>/<host key>" (the sandbox).
  void pointServicesAt(std::string_view base);

 private:
  using Values =
      std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>;

  Values values_;
  std::string site_;
  Mail mail_;
};
