qv_add_bench(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_bench.cpp LIBS qv_store)
