# Share items read back from a property-list dictionary (the offline queue's entries).
add_executable(share_item_fuzz ${CMAKE_CURRENT_LIST_DIR}/share_item_fuzz.cpp)
target_link_libraries(share_item_fuzz PRIVATE vemo_sharing_core)
target_link_options(share_item_fuzz PRIVATE -fsanitize=fuzzer)
