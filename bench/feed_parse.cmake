# Parse throughput of the feed client against raw expat and python3-feedparser.
add_executable(feed_parse_bench ${CMAKE_CURRENT_SOURCE_DIR}/FeedParseBench.cpp)
target_link_libraries(feed_parse_bench PRIVATE vemo_reader_feed benchmark::benchmark)
