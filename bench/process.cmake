find_package(SQLite3 REQUIRED)
add_executable(qv-floor-scan ${CMAKE_CURRENT_LIST_DIR}/floor_scan.cpp)
target_link_libraries(qv-floor-scan PRIVATE qv_objectstore SQLite::SQLite3)
target_include_directories(qv-floor-scan PRIVATE ${PROJECT_SOURCE_DIR}/src)
qv_add_bench(bench_whole_process SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_bench.cpp
             LIBS qv_app qv_headless qv_registry qv_files qv_objectstore)
target_compile_definitions(bench_whole_process PRIVATE
  QV_FLOOR_SCAN="$<TARGET_FILE:qv-floor-scan>" QV_REPLAY="$<TARGET_FILE:quorvella-replay>")
add_dependencies(bench_whole_process qv-floor-scan quorvella-replay)
add_executable(qv-bench-device ${CMAKE_CURRENT_LIST_DIR}/make_device.cpp)
target_link_libraries(qv-bench-device PRIVATE qv_app qv_headless qv_registry qv_files qv_objectstore)
target_include_directories(qv-bench-device PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/bench)
