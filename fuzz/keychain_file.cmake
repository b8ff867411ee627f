# The private keychain file, as read back from disk.
add_executable(keychain_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/keychain_file_fuzz.cpp)
target_link_libraries(keychain_file_fuzz PRIVATE vemo_keychain)
target_link_options(keychain_file_fuzz PRIVATE -fsanitize=fuzzer)
