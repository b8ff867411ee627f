# The configuration file, as a user writes it.
add_executable(config_file_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/ConfigFileFuzz.cpp)
target_link_libraries(config_file_fuzz PRIVATE vemo_sharing_config)
target_link_options(config_file_fuzz PRIVATE -fsanitize=fuzzer)
