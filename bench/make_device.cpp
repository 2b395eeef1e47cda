// Writes the standard store of the benchmarks (65,535 records, fifteen projects, twenty
// categories, three years) as a device folder, for measuring by hand:
//
//   qv-bench-device ROOT
//   /usr/bin/time -v quorvella-replay --root ROOT start-close.replay
#include <cstdio>

#include "bench_device.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-bench-device ROOT\n");
        return 2;
    }
    qv::bench::PrepareStandardDevice(argv[1]);
    return 0;
}
