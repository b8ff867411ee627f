# Web addresses: parsing, escaping for loading, escaping of one component.
add_executable(url_fuzz ${CMAKE_CURRENT_LIST_DIR}/url_fuzz.cpp)
target_link_libraries(url_fuzz PRIVATE vemo_net)
target_link_options(url_fuzz PRIVATE -fsanitize=fuzzer)
