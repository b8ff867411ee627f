# Twitter's refused-status answers and the picture host's answers.
add_executable(twitter_answers_fuzz ${CMAKE_CURRENT_LIST_DIR}/twitter_answers_fuzz.cpp)
target_link_libraries(twitter_answers_fuzz PRIVATE vemo_sharing_services)
target_link_options(twitter_answers_fuzz PRIVATE -fsanitize=fuzzer)
