# Repaint of the A-scan display, offscreen.
if(ZORIX7_WITH_QT)
  add_executable(anzeige_bench ${CMAKE_CURRENT_SOURCE_DIR}/anzeige_bench.cpp)
  target_link_libraries(anzeige_bench PRIVATE benchmark::benchmark zorix7measure Qt6::Widgets)
endif()
