qv_add_bench(bench_sync SOURCES ${CMAKE_CURRENT_LIST_DIR}/sync_bench.cpp LIBS qv_sync qv_store)
