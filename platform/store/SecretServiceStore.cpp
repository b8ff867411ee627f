#include "platform/store/SecretServiceStore.h"

// Searching by object path saves a proxy per lookup; the calls are unchanged since libsecret 0.7.
#define SECRET_API_SUBJECT_TO_CHANGE
#include <libsecret/secret.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/base/Log.h"

namespace store {

using namespace keychain_status;

namespace {

// Matching ignores the schema name, so items other programs stored under the same two
// attributes are found too.
const SecretSchema kSchema = {"org.vemo.Keychain",
                              SECRET_SCHEMA_DONT_MATCH_NAME,
                              {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                              0,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr};

struct Attributes {
  GHashTable* table;
  Attributes(const std::string& service, const std::string& account)
      : table(g_hash_table_new(g_str_hash, g_str_equal)) {
    g_hash_table_insert(table, const_cast<char*>("service"), const_cast<char*>(service.c_str()));
    g_hash_table_insert(table, const_cast<char*>("account"), const_cast<char*>(account.c_str()));
  }
  ~Attributes() { g_hash_table_unref(table); }
};

// A GError as a status: a locked collection or item, or else a store that did not answer.
// The message goes to the log (it never holds a secret).
int statusFor(GError* error, const char* what) {
  int status = g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED) ? kInteractionNotAllowed
                                                                            : kNotAvailable;
  base::log(std::string("KEYCHAIN SECRET SERVICE ") + what +
            " FAILED: " + (error ? error->message : "unknown error"));
  if (error) g_error_free(error);
  return status;
}

// The object path of the item for the pair, with one call: kSuccess with *path, kItemNotFound,
// kInteractionNotAllowed when only a locked item matches, or an error.
int search(SecretService* service, const std::string& serviceName, const std::string& account,
           std::string* path) {
  if (!isStorableName(serviceName) || !isStorableName(account)) return kParam;
  Attributes attributes(serviceName, account);
  GError* error = nullptr;
  gchar** unlocked = nullptr;
  gchar** locked = nullptr;
  if (!secret_service_search_for_dbus_paths_sync(service, &kSchema, attributes.table, nullptr,
                                                 &unlocked, &locked, &error))
    return statusFor(error, "SEARCH");
  int status = kItemNotFound;
  if (unlocked && unlocked[0]) {
    *path = unlocked[0];
    status = kSuccess;
  } else if (locked && locked[0]) {
    status = kInteractionNotAllowed;
  }
  g_strfreev(unlocked);
  g_strfreev(locked);
  return status;
}

SecretValue* valueOf(const SecretBytes& bytes) {
  return secret_value_new(reinterpret_cast<const gchar*>(bytes.data()),
                          static_cast<gssize>(bytes.size()), "text/plain");
}

// Whether a session bus can be reached without starting one (no X11 autolaunch).
bool sessionBusConfigured() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
    return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code ec;
  return runtime && *runtime &&
         std::filesystem::is_socket(std::filesystem::path(runtime) / "bus", ec);
}

}  // namespace

std::unique_ptr<SecretServiceStore> SecretServiceStore::connect() {
  if (!sessionBusConfigured()) return nullptr;
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (!bus) {
    g_clear_error(&error);
    return nullptr;
  }
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", "org.freedesktop.secrets"), G_VARIANT_TYPE("(b)"),
      G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, &error);
  g_object_unref(bus);
  gboolean owned = FALSE;
  if (reply) {
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
  }
  g_clear_error(&error);
  if (!owned) return nullptr;
  SecretService* service = secret_service_get_sync(
      static_cast<SecretServiceFlags>(SECRET_SERVICE_OPEN_SESSION), nullptr, &error);
  if (!service) {
    statusFor(error, "CONNECT");
    return nullptr;
  }
  return std::unique_ptr<SecretServiceStore>(new SecretServiceStore(service));
}

SecretServiceStore::~SecretServiceStore() {
  g_object_unref(service_);
}

int SecretServiceStore::find(const std::string& serviceName, const std::string& account,
                             std::optional<SecretBytes>* secret) {
  std::string path;
  if (int status = search(service_, serviceName, account, &path)) return status;
  if (!secret) return kSuccess;
  GError* error = nullptr;
  ::SecretItem* item =
      secret_item_new_for_dbus_path_sync(service_, path.c_str(), SECRET_ITEM_NONE, nullptr, &error);
  if (!item) return statusFor(error, "LOAD");
  if (!secret_item_load_secret_sync(item, nullptr, &error)) {
    g_object_unref(item);
    return statusFor(error, "LOAD");
  }
  secret->reset();
  if (SecretValue* value = secret_item_get_secret(item)) {
    gsize length = 0;
    const gchar* bytes = secret_value_get(value, &length);
    secret->emplace(bytes, bytes + length);
    secret_value_unref(value);
  }
  g_object_unref(item);
  return kSuccess;
}

int SecretServiceStore::add(const store::SecretItem& item) {
  std::string path;
  int status = search(service_, item.service, item.account, &path);
  if (status == kSuccess) return kDuplicateItem;
  if (status != kItemNotFound) return status;
  if (!isStorableName(item.label)) return kParam;
  Attributes attributes(item.service, item.account);
  SecretValue* value = valueOf(item.secret.value_or(SecretBytes{}));
  GError* error = nullptr;
  gboolean stored =
      secret_service_store_sync(service_, &kSchema, attributes.table, SECRET_COLLECTION_DEFAULT,
                                item.label.c_str(), value, nullptr, &error);
  secret_value_unref(value);
  return stored ? kSuccess : statusFor(error, "STORE");
}

// In place, wherever the item lives (it may be in another collection than the default one).
int SecretServiceStore::update(const store::SecretItem& item) {
  if (!isStorableName(item.label)) return kParam;
  std::string path;
  if (int status = search(service_, item.service, item.account, &path)) return status;
  GError* error = nullptr;
  ::SecretItem* existing =
      secret_item_new_for_dbus_path_sync(service_, path.c_str(), SECRET_ITEM_NONE, nullptr, &error);
  if (!existing) return statusFor(error, "UPDATE");
  SecretValue* value = valueOf(item.secret.value_or(SecretBytes{}));
  bool ok = secret_item_set_secret_sync(existing, value, nullptr, &error) &&
            secret_item_set_label_sync(existing, item.label.c_str(), nullptr, &error);
  secret_value_unref(value);
  g_object_unref(existing);
  return ok ? kSuccess : statusFor(error, "UPDATE");
}

int SecretServiceStore::remove(const std::string& serviceName, const std::string& account) {
  std::string path;
  if (int status = search(service_, serviceName, account, &path)) return status;
  GError* error = nullptr;
  bool ok = secret_service_delete_item_dbus_path_sync(service_, path.c_str(), nullptr, &error);
  return ok ? kSuccess : statusFor(error, "DELETE");
}

bool SecretServiceStore::lockDefaultCollectionForTesting() {
  GError* error = nullptr;
  SecretCollection* collection = secret_collection_for_alias_sync(
      service_, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &error);
  if (!collection) {
    g_clear_error(&error);
    return false;
  }
  GList* objects = g_list_append(nullptr, collection);
  gint locked = secret_service_lock_sync(service_, objects, nullptr, nullptr, &error);
  g_list_free(objects);
  g_object_unref(collection);
  g_clear_error(&error);
  return locked == 1;
}

}  // namespace store
