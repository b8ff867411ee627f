vemo_add_test(category_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CategoryListTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ServiceDetailTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
