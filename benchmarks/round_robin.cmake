# "Karten 1..n Satz n" over 16 virtual cards, one of them slow: the fast cards keep their rate.
add_executable(round_robin_bench ${CMAKE_CURRENT_SOURCE_DIR}/round_robin_bench.cpp)
target_include_directories(round_robin_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(round_robin_bench PRIVATE benchmark::benchmark zorix7measurecore zorix7)
