# The Qt floor: a bare Qt Widgets program painting the standard store's records in a tree view,
# the measure of the desktop window's start in bench_whole_process.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(SQLite3 REQUIRED)
add_executable(qv-qt-floor ${CMAKE_CURRENT_LIST_DIR}/qt_floor.cpp)
target_link_libraries(qv-qt-floor PRIVATE qv_objectstore SQLite::SQLite3 Qt6::Widgets)
target_include_directories(qv-qt-floor PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(bench_whole_process PRIVATE QV_QT_FLOOR="$<TARGET_FILE:qv-qt-floor>")
add_dependencies(bench_whole_process qv-qt-floor)
