qv_add_bench(bench_projects_balance SOURCES ${CMAKE_CURRENT_LIST_DIR}/projects_balance_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
