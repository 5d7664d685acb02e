# Round trips of the inter-process channel (client library against an in-process server).
markora_add_bench(bench_ipc bench_ipc.cpp)
