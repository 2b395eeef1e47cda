qv_add_bench(bench_date_sort SOURCES ${CMAKE_CURRENT_LIST_DIR}/date_sort_bench.cpp LIBS qv_core)
