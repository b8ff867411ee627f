# Keychain get and store: Secret Service against the file store.
add_executable(keychain_bench ${CMAKE_CURRENT_SOURCE_DIR}/KeychainBench.cpp)
target_link_libraries(keychain_bench PRIVATE vemo_sharing_helpers benchmark::benchmark)
