# A share request's round trip over loopback against one blocking libcurl request.
pkg_check_modules(SHARE_BENCH_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
add_executable(share_request_bench ${CMAKE_CURRENT_SOURCE_DIR}/ShareRequestBench.cpp)
target_link_libraries(share_request_bench PRIVATE vemo_sharing_core PkgConfig::SHARE_BENCH_HTTPLIB
                      benchmark::benchmark)
