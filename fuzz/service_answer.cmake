# Read It Later's and Pinboard's answer handling.
add_executable(service_answer_fuzz ${CMAKE_CURRENT_LIST_DIR}/service_answer_fuzz.cpp)
target_link_libraries(service_answer_fuzz PRIVATE vemo_sharing_services)
target_link_options(service_answer_fuzz PRIVATE -fsanitize=fuzzer)
