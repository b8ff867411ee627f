# A whole share of a no-login auto-share service against calling its send directly.
add_executable(share_life_bench ${CMAKE_CURRENT_SOURCE_DIR}/ShareLifeBench.cpp)
target_link_libraries(share_life_bench PRIVATE vemo_sharing benchmark::benchmark)
