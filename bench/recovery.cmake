# Crash recovery: the idle write of a 50 MB document and a keystroke that marks it.
markora_add_bench(bench_recovery bench_recovery.cpp)
