# REST answers of the Facebook API through the client's answer parsing.
add_executable(facebook_answer_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/FacebookAnswerFuzz.cpp)
target_link_libraries(facebook_answer_fuzz PRIVATE vemo_facebook)
target_link_options(facebook_answer_fuzz PRIVATE -fsanitize=fuzzer)
