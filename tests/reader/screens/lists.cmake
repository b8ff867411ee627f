# The demo site for the screen tests when the desktop program (which builds it) is off.
if(NOT TARGET vemo_demosite AND NOT TARGET vemo_screen_demosite)
  add_library(vemo_screen_demosite STATIC ${CMAKE_SOURCE_DIR}/app/demo/DemoSite.cpp)
  target_link_libraries(vemo_screen_demosite PUBLIC vemo_base PRIVATE vemo_test_support)
endif()
if(TARGET vemo_demosite)
  set(lists_demosite vemo_demosite)
else()
  set(lists_demosite vemo_screen_demosite)
endif()
vemo_add_test(category_screen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CategoryListTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ServiceDetailTest.cpp
  LIBS vemo_screen_test_support ${lists_demosite} LABELS threads)
