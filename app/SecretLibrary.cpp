// The program opens libsecret (with libgcrypt, which it loads) when the keychain is first used
// rather than before main(): the window's start never needs it. The definitions below stand in
// for libsecret's own in this program only, hidden so that no library binds to them, and
// forward to the library opened by the first call.
#include "app/SharedLibrary.h"

#pragma GCC visibility push(hidden)
// The keychain uses the D-Bus path functions, which libsecret declares only on request.
#define SECRET_API_SUBJECT_TO_CHANGE
#include <libsecret/secret.h>

namespace {

struct Entries {
  decltype(&secret_error_get_quark) errorGetQuark;
  decltype(&secret_service_get_sync) serviceGetSync;
  decltype(&secret_service_search_for_dbus_paths_sync) serviceSearchForDbusPathsSync;
  decltype(&secret_service_store_sync) serviceStoreSync;
  decltype(&secret_service_delete_item_dbus_path_sync) serviceDeleteItemDbusPathSync;
  decltype(&secret_service_lock_sync) serviceLockSync;
  decltype(&secret_collection_for_alias_sync) collectionForAliasSync;
  decltype(&secret_item_new_for_dbus_path_sync) itemNewForDbusPathSync;
  decltype(&secret_item_load_secret_sync) itemLoadSecretSync;
  decltype(&secret_item_get_secret) itemGetSecret;
  decltype(&secret_item_set_secret_sync) itemSetSecretSync;
  decltype(&secret_item_set_label_sync) itemSetLabelSync;
  decltype(&secret_value_new) valueNew;
  decltype(&secret_value_get) valueGet;
  decltype(&secret_value_unref) valueUnref;
};

Entries open() {
  const SharedLibrary library("libsecret-1.so.0");
  Entries e;
  library.find("secret_error_get_quark", e.errorGetQuark);
  library.find("secret_service_get_sync", e.serviceGetSync);
  library.find("secret_service_search_for_dbus_paths_sync", e.serviceSearchForDbusPathsSync);
  library.find("secret_service_store_sync", e.serviceStoreSync);
  library.find("secret_service_delete_item_dbus_path_sync", e.serviceDeleteItemDbusPathSync);
  library.find("secret_service_lock_sync", e.serviceLockSync);
  library.find("secret_collection_for_alias_sync", e.collectionForAliasSync);
  library.find("secret_item_new_for_dbus_path_sync", e.itemNewForDbusPathSync);
  library.find("secret_item_load_secret_sync", e.itemLoadSecretSync);
  library.find("secret_item_get_secret", e.itemGetSecret);
  library.find("secret_item_set_secret_sync", e.itemSetSecretSync);
  library.find("secret_item_set_label_sync", e.itemSetLabelSync);
  library.find("secret_value_new", e.valueNew);
  library.find("secret_value_get", e.valueGet);
  library.find("secret_value_unref", e.valueUnref);
  return e;
}

const Entries& library() {
  static const Entries entries = open();
  return entries;
}

}  // namespace

GQuark secret_error_get_quark() {
  return library().errorGetQuark();
}

SecretService* secret_service_get_sync(SecretServiceFlags flags, GCancellable* cancellable,
                                       GError** error) {
  return library().serviceGetSync(flags, cancellable, error);
}

gboolean secret_service_search_for_dbus_paths_sync(SecretService* self, const SecretSchema* schema,
                                                   GHashTable* attributes,
                                                   GCancellable* cancellable, gchar*** unlocked,
                                                   gchar*** locked, GError** error) {
  return library().serviceSearchForDbusPathsSync(self, schema, attributes, cancellable, unlocked,
                                                 locked, error);
}

gboolean secret_service_store_sync(SecretService* service, const SecretSchema* schema,
                                   GHashTable* attributes, const gchar* collection,
                                   const gchar* label, SecretValue* value,
                                   GCancellable* cancellable, GError** error) {
  return library().serviceStoreSync(service, schema, attributes, collection, label, value,
                                    cancellable, error);
}

gboolean secret_service_delete_item_dbus_path_sync(SecretService* self, const gchar* object_path,
                                                   GCancellable* cancellable, GError** error) {
  return library().serviceDeleteItemDbusPathSync(self, object_path, cancellable, error);
}

gint secret_service_lock_sync(SecretService* service, GList* objects, GCancellable* cancellable,
                              GList** locked, GError** error) {
  return library().serviceLockSync(service, objects, cancellable, locked, error);
}

SecretCollection* secret_collection_for_alias_sync(SecretService* service, const gchar* alias,
                                                   SecretCollectionFlags flags,
                                                   GCancellable* cancellable, GError** error) {
  return library().collectionForAliasSync(service, alias, flags, cancellable, error);
}

SecretItem* secret_item_new_for_dbus_path_sync(SecretService* service, const gchar* item_path,
                                               SecretItemFlags flags, GCancellable* cancellable,
                                               GError** error) {
  return library().itemNewForDbusPathSync(service, item_path, flags, cancellable, error);
}

gboolean secret_item_load_secret_sync(SecretItem* self, GCancellable* cancellable, GError** error) {
  return library().itemLoadSecretSync(self, cancellable, error);
}

SecretValue* secret_item_get_secret(SecretItem* self) {
  return library().itemGetSecret(self);
}

gboolean secret_item_set_secret_sync(SecretItem* self, SecretValue* value,
                                     GCancellable* cancellable, GError** error) {
  return library().itemSetSecretSync(self, value, cancellable, error);
}

gboolean secret_item_set_label_sync(SecretItem* self, const gchar* label, GCancellable* cancellable,
                                    GError** error) {
  return library().itemSetLabelSync(self, label, cancellable, error);
}

SecretValue* secret_value_new(const gchar* secret, gssize length, const gchar* content_type) {
  return library().valueNew(secret, length, content_type);
}

const gchar* secret_value_get(SecretValue* value, gsize* length) {
  return library().valueGet(value, length);
}

void secret_value_unref(gpointer value) {
  library().valueUnref(value);
}

#pragma GCC visibility pop
