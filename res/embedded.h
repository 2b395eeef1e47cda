// The files built into the program: help pages, images, icon and the "added" sound.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};

// The built-in file of this name ("enquorvella.htm", "enquorvella.htc",
// "IDW_TIME_ADDED.wav", "bitmap106.png", "bitmap128.png", "icon101-16.png" ...
// "icon101-256.png", "icon101.svg"), or null when there is none.
const EmbeddedFile* FindEmbedded(std::string_view name);

}  // namespace qv
