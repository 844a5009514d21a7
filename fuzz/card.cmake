# Register maps: card registers to field values and back.
zorix7_add_fuzzer(fuzz_register_map ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_register_map.cpp zorix7card)
