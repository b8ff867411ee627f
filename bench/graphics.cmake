# Text measurement of a home screen (cold and cached) and rendering a screen of tiles at 2×.
add_executable(graphics_bench graphics/GraphicsBench.cpp)
target_link_libraries(graphics_bench PRIVATE vemo_ui benchmark::benchmark benchmark::benchmark_main)
