// Looking up the built-in files.
#include "res/embedded.h"

#include <string_view>

namespace qv {

// The table is generated from the files under res/ when the program is built.
extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

const EmbeddedFile* FindEmbedded(std::string_view name) {
    for (std::size_t i = 0; i < kEmbeddedFileCount; ++i) {
        if (name == kEmbeddedFiles[i].name) return &kEmbeddedFiles[i];
    }
    return nullptr;
}

}  // namespace qv
