# OAuth signing throughput, and the asynchronous loader's cost against blocking libcurl.
add_executable(oauth_bench ${CMAKE_CURRENT_SOURCE_DIR}/OAuthBench.cpp)
target_link_libraries(oauth_bench PRIVATE vemo_oauth vemo_bench_support benchmark::benchmark)
