# The data-rate run "Karte n Satz n" against an instant virtual card, next to the PCI limit.
add_executable(runs_bench ${CMAKE_CURRENT_SOURCE_DIR}/runs_bench.cpp)
target_link_libraries(runs_bench PRIVATE benchmark::benchmark zorix7measurecore zorix7)
target_include_directories(runs_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
