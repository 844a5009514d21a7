# Decoders of measured data from the card.
zorix7_add_fuzzer(fuzz_ascan_header ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_ascan_header.cpp zorix7measurecore)
zorix7_add_fuzzer(fuzz_result_lines ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_result_lines.cpp zorix7measurecore)
zorix7_add_fuzzer(fuzz_data_list ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_data_list.cpp zorix7measurecore)
zorix7_add_fuzzer(fuzz_block_check ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_block_check.cpp zorix7measurecore)
