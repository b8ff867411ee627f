// Keychain lookups and writes through the Secret Service against the private file store: the
// cost a share pays to learn whether its service is logged in. Run it inside
// tests/support/with-secret-service.sh to include the Secret Service.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "platform/store/SecretServiceStore.h"
#include "sharing/core/helpers/KeychainUtils.h"

namespace {

// A keychain over the chosen store, with one stored password; nullptr when it is not there.
std::unique_ptr<store::Keychain> open(bool secretService, const std::filesystem::path& folder) {
  std::unique_ptr<store::SecretStore> primary;
  if (secretService)
    primary = store::SecretServiceStore::connect();
  else
    primary = std::make_unique<store::FileSecretStore>(folder / "keychain.plist");
  if (!primary) return nullptr;
  auto keychain = std::make_unique<store::Keychain>(std::move(primary), nullptr);
  store::Keychain::setSharedForTesting(keychain.get());
  KeychainUtils::storeUsername("username", "password", "SHK_AUTH_SHKBench", true, nullptr);
  return keychain;
}

struct Folder {
  std::filesystem::path path;
  Folder() {
    std::string t = (std::filesystem::temp_directory_path() / "vemo-bench-XXXXXX").string();
    path = mkdtemp(t.data());
  }
  ~Folder() { std::filesystem::remove_all(path); }
};

void BM_KeychainGet(benchmark::State& state) {
  Folder folder;
  auto keychain = open(state.range(0) == 1, folder.path);
  if (!keychain) return state.SkipWithError("no Secret Service on this session bus");
  for (auto _ : state) {
    auto password = KeychainUtils::getPasswordForUsername("username", "SHK_AUTH_SHKBench", nullptr);
    if (!password) state.SkipWithError("lookup failed");
    benchmark::DoNotOptimize(password);
  }
  KeychainUtils::deleteItemForUsername("username", "SHK_AUTH_SHKBench", nullptr);
  store::Keychain::setSharedForTesting(nullptr);
}

void BM_KeychainStore(benchmark::State& state) {
  Folder folder;
  auto keychain = open(state.range(0) == 1, folder.path);
  if (!keychain) return state.SkipWithError("no Secret Service on this session bus");
  int n = 0;
  for (auto _ : state) {
    // A new password each time, so every store writes.
    if (!KeychainUtils::storeUsername("username", "password" + std::to_string(++n),
                                      "SHK_AUTH_SHKBench", true, nullptr))
      state.SkipWithError("store failed");
  }
  KeychainUtils::deleteItemForUsername("username", "SHK_AUTH_SHKBench", nullptr);
  store::Keychain::setSharedForTesting(nullptr);
}

// Argument 0: file store, 1: Secret Service.
BENCHMARK(BM_KeychainGet)->ArgName("secret_service")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeychainStore)
    ->ArgName("secret_service")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
