# Addresses the Facebook log-in page sends the panel to, through the auth-token extraction.
add_executable(facebook_auth_token_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/facebook_auth_token_fuzz.cpp)
target_link_libraries(facebook_auth_token_fuzz PRIVATE vemo_facebook)
target_link_options(facebook_auth_token_fuzz PRIVATE -fsanitize=fuzzer)
