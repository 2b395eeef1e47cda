// Helpers shared by the object-store tests: a scratch folder and record shorthands.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/objectstore/object_store.h"

namespace qv::test {

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvstore-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// A record whose property 0 is `key`, with a second property telling records apart.
inline std::vector<PropValue> Keyed(uint32_t key, uint32_t tag) {
    return {PropValue::Number(kSortPropertyId, key), PropValue::Number(PropId(1, CEVT_UI4), tag)};
}

// Reads from the handle's position to the end: the second property of each record.
inline std::vector<uint32_t> ReadTags(ObjectStore& store, StoreHandle h) {
    std::vector<uint32_t> tags;
    std::vector<PropValue> props;
    while (store.CeReadRecordProps(h, props) != 0) {
        uint32_t tag = 0xDEAD;
        for (const PropValue& p : props)
            if (p.propid == PropId(1, CEVT_UI4)) tag = p.ulVal;
        tags.push_back(tag);
    }
    return tags;
}

}  // namespace qv::test
