# The channel of the real editor under hostile load: trickling clients, clients that
# declare huge blocks, and a well-behaved client meanwhile (a plain program, Linux).
if(UNIX)
  markora_add_bench(bench_channel_load bench_channel_load.cpp)
  target_compile_definitions(bench_channel_load PRIVATE MARKORA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  add_dependencies(bench_channel_load markora)
endif()
