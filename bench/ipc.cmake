# Round trips of the inter-process channel (client library against an in-process
# server, and against the real editor started as a process).
markora_add_bench(bench_ipc bench_ipc.cpp)
target_compile_definitions(bench_ipc PRIVATE MARKORA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
add_dependencies(bench_ipc markora)
