qv_add_bench(bench_report SOURCES ${CMAKE_CURRENT_LIST_DIR}/report_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
