# Search and replace: Replace all over 50 MB beside GNU sed, and Find all to a million rows.
markora_add_bench(bench_search bench_search.cpp)
