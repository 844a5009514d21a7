# Decoder throughput against memcpy of the same buffer.
add_executable(measure_bench ${CMAKE_CURRENT_SOURCE_DIR}/measure_bench.cpp)
target_link_libraries(measure_bench PRIVATE benchmark::benchmark zorix7measurecore)
