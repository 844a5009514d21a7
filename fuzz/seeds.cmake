# Seed corpus of the fuzzers: buffers measured by the virtual cards plus fuzz/seeds/.
add_executable(write_fuzz_seeds ${PROJECT_SOURCE_DIR}/tools/FuzzSeeds.cpp)
target_link_libraries(write_fuzz_seeds PRIVATE zorix7 zorix7card zorix7snapshotcore)
target_compile_definitions(write_fuzz_seeds PRIVATE ZORIX7_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
