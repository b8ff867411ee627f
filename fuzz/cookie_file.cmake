# The cookie file, as the cookie store reads it at start.
add_executable(cookie_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/cookie_file_fuzz.cpp)
target_link_libraries(cookie_file_fuzz PRIVATE vemo_net)
target_link_options(cookie_file_fuzz PRIVATE -fsanitize=fuzzer)
