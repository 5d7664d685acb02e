# Find in files over 10,000 files and 500 MB beside grep -r (services area).
markora_add_bench(bench_filesearch bench_filesearch.cpp)
