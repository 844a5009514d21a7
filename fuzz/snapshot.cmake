# Snapshot files: the JSON reader, the snapshot reader and the comparison.
zorix7_add_fuzzer(fuzz_snapshot ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_snapshot.cpp zorix7snapshotcore)
