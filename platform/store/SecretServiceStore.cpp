#include "platform/store/SecretServiceStore.h"

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

// The first item for the pair: kSuccess with *item (owned), kItemNotFound, or an error.
int search(SecretService* service, const std::string& serviceName, const std::string& account,
           ::SecretItem** found) {
  if (!isStorableName(serviceName) || !isStorableName(account)) return kParam;
  Attributes attributes(serviceName, account);
  GError* error = nullptr;
  GList* items = secret_service_search_sync(service, &kSchema, attributes.table, SECRET_SEARCH_ALL,
                                            nullptr, &error);
  if (error) return statusFor(error, "SEARCH");
  if (!items) return kItemNotFound;
  *found = static_cast<::SecretItem*>(g_object_ref(items->data));
  g_list_free_full(items, g_object_unref);
  if (secret_item_get_locked(*found)) {
    g_object_unref(*found);
    return kInteractionNotAllowed;
  }
  return kSuccess;
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
  ::SecretItem* item = nullptr;
  if (int status = search(service_, serviceName, account, &item)) return status;
  int status = kSuccess;
  if (secret) {
    GError* error = nullptr;
    if (secret_item_load_secret_sync(item, nullptr, &error)) {
      secret->reset();
      if (SecretValue* value = secret_item_get_secret(item)) {
        gsize length = 0;
        const gchar* bytes = secret_value_get(value, &length);
        secret->emplace(bytes, bytes + length);
        secret_value_unref(value);
      }
    } else {
      status = statusFor(error, "LOAD");
    }
  }
  g_object_unref(item);
  return status;
}

int SecretServiceStore::add(const store::SecretItem& item) {
  ::SecretItem* existing = nullptr;
  int status = search(service_, item.service, item.account, &existing);
  if (status == kSuccess) {
    g_object_unref(existing);
    return kDuplicateItem;
  }
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

int SecretServiceStore::update(const store::SecretItem& item) {
  ::SecretItem* existing = nullptr;
  if (!isStorableName(item.label)) return kParam;
  if (int status = search(service_, item.service, item.account, &existing)) return status;
  SecretValue* value = valueOf(item.secret.value_or(SecretBytes{}));
  GError* error = nullptr;
  bool ok = secret_item_set_secret_sync(existing, value, nullptr, &error) &&
            secret_item_set_label_sync(existing, item.label.c_str(), nullptr, &error);
  secret_value_unref(value);
  g_object_unref(existing);
  return ok ? kSuccess : statusFor(error, "UPDATE");
}

int SecretServiceStore::remove(const std::string& serviceName, const std::string& account) {
  ::SecretItem* existing = nullptr;
  if (int status = search(service_, serviceName, account, &existing)) return status;
  GError* error = nullptr;
  bool ok = secret_item_delete_sync(existing, nullptr, &error);
  g_object_unref(existing);
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
