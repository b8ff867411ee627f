# OAuth request parameters read from the query of a signed GET request.
add_executable(oauth_query_fuzz ${CMAKE_CURRENT_LIST_DIR}/oauth_query_fuzz.cpp)
target_link_libraries(oauth_query_fuzz PRIVATE vemo_oauth)
target_link_options(oauth_query_fuzz PRIVATE -fsanitize=fuzzer)
