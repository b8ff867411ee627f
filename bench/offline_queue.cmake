# The offline queue: adding entries, and a flush to the sandbox against direct sends.
add_executable(offline_queue_bench ${CMAKE_CURRENT_SOURCE_DIR}/OfflineQueueBench.cpp)
target_link_libraries(offline_queue_bench PRIVATE vemo_sharing_queue vemo_sharing_services
                      vemo_sandbox benchmark::benchmark)
