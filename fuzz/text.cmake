# Number parsers of the dialogs' fields, presets and configuration.
zorix7_add_fuzzer(fuzz_text_parse ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_text_parse.cpp zorix7platformcore)
