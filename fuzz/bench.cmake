zorix7_add_fuzzer(fuzz_bench fuzz_bench.cpp zorix7)
