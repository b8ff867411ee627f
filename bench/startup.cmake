# Start-up of the desktop program against a bare GTK window, and its resident memory. Run under
# an X display: xvfb-run -a -s '-screen 0 1024x768x24 -noreset' build/bench/startup_bench
if(TARGET vemo)
  pkg_check_modules(STARTUP_GTK4 REQUIRED IMPORTED_TARGET gtk4)
  pkg_check_modules(STARTUP_X11 REQUIRED IMPORTED_TARGET x11)
  add_executable(bare_window_bench ${CMAKE_CURRENT_LIST_DIR}/startup/BareWindow.cpp)
  target_link_libraries(bare_window_bench PRIVATE PkgConfig::STARTUP_GTK4)
  add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup/StartupBench.cpp
                               ${CMAKE_SOURCE_DIR}/app/gui/RendererChoice.cpp)
  target_link_libraries(startup_bench PRIVATE benchmark::benchmark PkgConfig::STARTUP_X11)
  target_compile_definitions(startup_bench PRIVATE VEMO_PATH="$<TARGET_FILE:vemo>"
                             BARE_WINDOW_PATH="$<TARGET_FILE:bare_window_bench>")
  add_dependencies(startup_bench vemo bare_window_bench)
endif()
