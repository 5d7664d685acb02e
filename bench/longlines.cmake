# Very long lines (editor area): run with QT_QPA_PLATFORM=offscreen.
markora_add_bench(bench_longlines bench_longlines.cpp)
