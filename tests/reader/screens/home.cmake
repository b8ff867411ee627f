# The demo site for the screen tests when the desktop program (which builds it) is off.
if(TARGET vemo_demosite)
  set(screen_demosite vemo_demosite)
else()
  if(NOT TARGET vemo_screen_demosite)
    add_library(vemo_screen_demosite STATIC ${CMAKE_SOURCE_DIR}/app/demo/DemoSite.cpp)
    target_link_libraries(vemo_screen_demosite PUBLIC vemo_base PRIVATE vemo_test_support)
  endif()
  set(screen_demosite vemo_screen_demosite)
endif()
vemo_add_test(home_tiles_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CustomButtonTest.cpp ${CMAKE_CURRENT_LIST_DIR}/GridPlacementTest.cpp
  LIBS vemo_reader_screens vemo_view_test_support)
vemo_add_test(home_thumbnail_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCacheTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(home_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HomeScreenTest.cpp
  LIBS vemo_screen_test_support LABELS threads)
vemo_add_test(home_demo_site_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HomeDemoSiteTest.cpp
  LIBS vemo_screen_test_support ${screen_demosite} LABELS threads)
