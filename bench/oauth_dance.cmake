# The whole OAuth login of a share service against the sandbox, against three signed fetches.
add_executable(oauth_dance_bench ${CMAKE_CURRENT_SOURCE_DIR}/OAuthDanceBench.cpp)
target_link_libraries(oauth_dance_bench PRIVATE vemo_sharing_oauth vemo_sandbox vemo_keychain
                      benchmark::benchmark)
