qv_add_bench(bench_export_dialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/export_dialog_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
