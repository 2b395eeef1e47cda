qv_add_bench(bench_export SOURCES export_bench.cpp LIBS qv_export)
