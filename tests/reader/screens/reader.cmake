# Lead reader, article reader and saved stories.
vemo_add_test(lead_reader_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SapoViewControllerTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(article_reader_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DetailViewControllerTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(saved_stories_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BookmarkListTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(story_share_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StoryShareTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
