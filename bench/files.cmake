# Document files and the Polish-letter converter on 50 MB texts.
markora_add_bench(bench_files bench_files.cpp)
