# Readers of DSP firmware files.
zorix7_add_fuzzer(fuzz_firmware_hex ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_firmware_hex.cpp zorix7diagcore)
zorix7_add_fuzzer(fuzz_firmware_bin ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_firmware_bin.cpp zorix7diagcore)
