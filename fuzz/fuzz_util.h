// What the fuzzers share: a failed check aborts (the fuzzer keeps the input), a scratch folder
// per process under $TMPDIR (fuzz/run.sh gives one in memory and removes it), and the input
// read line by line.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace qv::fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-fuzz-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr);
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// A date ("2005-10-29": width 4, '-') or a clock time ("23:59:59": width 2, ':') as the replay
// scripts write them.
inline std::string Joined(unsigned a, unsigned b, unsigned c, int width, char separator) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*u%c%02u%c%02u", width, a, separator, b, separator, c);
    return text;
}

template <typename Body>
void ForEachLine(const uint8_t* data, size_t size, Body body) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line);) body(line);
}

}  // namespace qv::fuzz
