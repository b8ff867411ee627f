vemo_add_test(home_tiles_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CustomButtonTest.cpp ${CMAKE_CURRENT_LIST_DIR}/GridPlacementTest.cpp
  LIBS vemo_reader_screens)
vemo_add_test(home_thumbnail_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCacheTest.cpp
  LIBS vemo_reader_screens LABELS threads)
