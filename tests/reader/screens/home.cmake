vemo_add_test(home_tiles_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CustomButtonTest.cpp
  LIBS vemo_reader_screens vemo_view_test_support)
vemo_add_test(home_thumbnail_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCacheTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(home_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HomeScreenTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
