# Google Reader's login answer lines, which become the Cookie header of its requests.
add_executable(google_reader_session_fuzz ${CMAKE_CURRENT_LIST_DIR}/google_reader_session_fuzz.cpp)
target_link_libraries(google_reader_session_fuzz PRIVATE vemo_sharing_services)
target_link_options(google_reader_session_fuzz PRIVATE -fsanitize=fuzzer)
