# Token response bodies and form bodies, as a service sends them back.
add_executable(oauth_token_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/OAuthTokenFuzz.cpp)
target_link_libraries(oauth_token_fuzz PRIVATE vemo_oauth)
target_link_options(oauth_token_fuzz PRIVATE -fsanitize=fuzzer)
