# A snapshot of sixteen instant virtual cards against the library calls it makes.
add_executable(snapshot_bench ${CMAKE_CURRENT_SOURCE_DIR}/snapshot_bench.cpp)
target_link_libraries(snapshot_bench PRIVATE benchmark::benchmark zorix7snapshotcore zorix7)
