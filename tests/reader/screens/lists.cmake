vemo_add_test(category_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CategoryScreensTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
