# Menu and RSS documents through the feed client's parsing path.
add_executable(feed_parser_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/FeedParserFuzz.cpp)
target_link_libraries(feed_parser_fuzz PRIVATE vemo_reader_feed)
target_link_options(feed_parser_fuzz PRIVATE -fsanitize=fuzzer)
