# Lead reader, article reader and saved stories.
if(TARGET vemo_demosite)
  set(reader_demosite vemo_demosite)
else()
  set(reader_demosite vemo_screen_demosite)
endif()
vemo_add_test(lead_reader_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SapoViewControllerTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(article_reader_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DetailViewControllerTest.cpp
  LIBS vemo_screen_test_support ${reader_demosite} LABELS threads)
vemo_add_test(saved_stories_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BookmarkListTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(story_share_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StoryShareTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ListScreenTestSupport.cpp
  LIBS vemo_screen_test_support LABELS threads)
