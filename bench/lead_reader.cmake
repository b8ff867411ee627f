# Lead reader: building every page at once (cold text measurement), and rebuilding them all when
# a picture arrives (measurements cached).
add_executable(lead_reader_bench ${CMAKE_CURRENT_LIST_DIR}/LeadReaderBench.cpp)
target_link_libraries(lead_reader_bench
  PRIVATE vemo_reader_screens vemo_bench_support benchmark::benchmark benchmark::benchmark_main)
