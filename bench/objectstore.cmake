find_package(SQLite3 REQUIRED)
qv_add_bench(bench_objectstore SOURCES objectstore_bench.cpp LIBS qv_objectstore SQLite::SQLite3)
