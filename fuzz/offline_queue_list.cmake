# The offline queue's list file, as read back from disk.
add_executable(offline_queue_list_fuzz ${CMAKE_CURRENT_LIST_DIR}/offline_queue_list_fuzz.cpp)
target_link_libraries(offline_queue_list_fuzz PRIVATE vemo_sharing_queue)
target_link_options(offline_queue_list_fuzz PRIVATE -fsanitize=fuzzer)
