# Depth-compensation files (".ta").
zorix7_add_fuzzer(fuzz_ta ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_ta.cpp zorix7paramscore)
