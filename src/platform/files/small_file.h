// Reading a small settings file whole, without waiting on a pipe or swallowing a huge file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace qv {

struct SmallFileRead {
    enum class Outcome {
        Read,        // content holds the whole file
        Missing,     // nothing under the name
        NotRegular,  // a pipe, a device, a folder, a socket, or a link to nothing
        TooLarge,    // a regular file over the limit
        Failed,      // could not be opened or read
    };
    Outcome outcome = Outcome::Missing;
    std::string content;
    std::string reason;  // what stood in the way, for a line on standard error
};

// What a name holds that is not a regular file, in words: "a named pipe", "a folder"...
std::string DescribeFileKind(unsigned mode);

// Opens without blocking (a FIFO answers at once) and reads only a regular file of at most
// maxBytes.
SmallFileRead ReadSmallRegularFile(const std::filesystem::path& file, size_t maxBytes);

}  // namespace qv
