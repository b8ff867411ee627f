vemo_add_test(home_tiles_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CustomButtonTest.cpp ${CMAKE_CURRENT_LIST_DIR}/GridPlacementTest.cpp
  LIBS vemo_reader_screens)
vemo_add_test(home_thumbnail_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCacheTest.cpp
  LIBS vemo_reader_screens LABELS threads)
# Shared by every screen test program: loopback site, stand-in screens, view lookups.
if(NOT TARGET vemo_screen_test_support)
  add_library(vemo_screen_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/ScreenTestSupport.cpp)
  target_link_libraries(vemo_screen_test_support PUBLIC vemo_reader_screens vemo_test_support)
endif()
vemo_add_test(home_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HomeScreenTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
if(TARGET vemo_demosite)
  vemo_add_test(home_demo_site_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/HomeDemoSiteTest.cpp
    LIBS vemo_screen_test_support vemo_demosite LABELS threads)
endif()
