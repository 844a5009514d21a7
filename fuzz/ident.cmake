# The identification presets text and the dialogs' lists.
zorix7_add_fuzzer(fuzz_kennung_text ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_kennung_text.cpp zorix7identcore)
