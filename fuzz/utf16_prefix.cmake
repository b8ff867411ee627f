add_executable(utf16_prefix_fuzz ${CMAKE_CURRENT_LIST_DIR}/utf16_prefix_fuzz.cpp)
target_link_libraries(utf16_prefix_fuzz PRIVATE vemo_base)
target_link_options(utf16_prefix_fuzz PRIVATE -fsanitize=fuzzer)
