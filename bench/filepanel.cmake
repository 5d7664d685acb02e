# The file panel following a folder of 10,000 files that appear and vanish at once.
markora_add_bench(bench_filepanel bench_filepanel.cpp)
