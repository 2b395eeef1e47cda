find_package(Qt6 REQUIRED COMPONENTS Widgets)
qv_add_bench(bench_overview SOURCES ${CMAKE_CURRENT_LIST_DIR}/overview_bench.cpp
             LIBS qv_desktop_overview qv_qt_host qv_app qv_registry qv_files qv_objectstore
                  Qt6::Widgets)
