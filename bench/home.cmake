# Home screen: building the grid and the list, and loading 100 thumbnails at once against one.
add_executable(home_bench ${CMAKE_CURRENT_LIST_DIR}/HomeBench.cpp)
target_link_libraries(home_bench PRIVATE vemo_reader_screens vemo_bench_support benchmark::benchmark)
