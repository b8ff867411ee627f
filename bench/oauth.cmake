# OAuth signing throughput, and the asynchronous loader's cost against blocking libcurl.
pkg_check_modules(BENCH_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
add_executable(oauth_bench ${CMAKE_CURRENT_SOURCE_DIR}/OAuthBench.cpp)
target_link_libraries(oauth_bench PRIVATE vemo_oauth PkgConfig::BENCH_HTTPLIB benchmark::benchmark)
