# The whole configuration load: file bytes to the main dialog's settings and parameter sets.
zorix7_add_fuzzer(fuzz_settings ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_settings.cpp zorix7appcore)
