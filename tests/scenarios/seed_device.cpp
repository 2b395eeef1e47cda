// Prepares a device folder before a scenario runs (the seed lines are described in
// device_seed.h).
//
//   seed_device ROOT SEEDFILE
#include <fstream>
#include <iostream>

#include "device_seed.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: seed_device ROOT SEEDFILE\n";
        return 2;
    }
    std::ifstream in(argv[2]);
    std::string why;
    if (!qv::SeedDevice(qv::DeviceFolders::UnderRoot(argv[1]), in, why)) {
        std::cerr << why << "\n";
        return 1;
    }
    return 0;
}
