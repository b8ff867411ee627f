# The address the authorisation page navigates to, tested against the callback and read.
add_executable(oauth_callback_fuzz ${CMAKE_CURRENT_LIST_DIR}/oauth_callback_fuzz.cpp)
target_link_libraries(oauth_callback_fuzz PRIVATE vemo_sharing_oauth)
target_link_options(oauth_callback_fuzz PRIVATE -fsanitize=fuzzer)
