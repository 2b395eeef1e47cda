qv_add_bench(bench_project_switch SOURCES ${CMAKE_CURRENT_LIST_DIR}/project_switch_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
