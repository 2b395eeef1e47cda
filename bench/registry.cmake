qv_add_bench(bench_registry SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp LIBS qv_registry qv_core)
