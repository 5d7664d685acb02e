# Colouring benchmarks (editor area): run with QT_QPA_PLATFORM=offscreen.
markora_add_bench(bench_colouring bench_colouring.cpp)
