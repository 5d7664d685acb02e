# Start-up of the real program and a second start handing a file over (processes).
markora_add_bench(bench_startup bench_startup.cpp)
target_compile_definitions(bench_startup PRIVATE MARKORA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
add_dependencies(bench_startup markora)
