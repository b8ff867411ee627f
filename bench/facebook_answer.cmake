# Facebook REST answer parsing against the bare XML parser.
add_executable(facebook_answer_bench ${CMAKE_CURRENT_SOURCE_DIR}/FacebookAnswerBench.cpp)
target_link_libraries(facebook_answer_bench PRIVATE vemo_facebook benchmark::benchmark)
