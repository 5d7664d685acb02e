# Matching tags in a 50 MB document (tags area): run with QT_QPA_PLATFORM=offscreen.
markora_add_bench(bench_tagmatch bench_tagmatch.cpp)
