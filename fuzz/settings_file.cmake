# The settings file as a whole, read the way the reader reads its saved stories and view style.
add_executable(settings_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/settings_file_fuzz.cpp)
target_link_libraries(settings_file_fuzz PRIVATE vemo_reader_model vemo_store)
target_link_options(settings_file_fuzz PRIVATE -fsanitize=fuzzer)
