qv_add_bench(bench_bulk_changes SOURCES ${CMAKE_CURRENT_LIST_DIR}/bulk_changes_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
