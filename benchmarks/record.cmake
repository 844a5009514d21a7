# A data-rate run of 10 000 cycles recorded through libzorix7-record and replayed by the virtual
# cards: session size against the bytes carried, replay against reading the file.
add_executable(record_bench ${CMAKE_CURRENT_SOURCE_DIR}/record_bench.cpp)
target_link_libraries(record_bench PRIVATE benchmark::benchmark zorix7 zorix7session ${CMAKE_DL_LIBS})
add_dependencies(record_bench zorix7-record)
target_compile_definitions(record_bench PRIVATE ZORIX7_RECORDER="$<TARGET_FILE:zorix7-record>"
  ZORIX7_CARDS="$<TARGET_FILE:zorix7>")
