// Finds one value in a listing of hive keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry/registry_hive.h"

namespace qv::test {

inline std::optional<HiveValue> FindValue(const std::vector<HiveKeyListing>& keys,
                                          const std::u16string& path, const std::u16string& name) {
    for (const auto& key : keys)
        for (const auto& value : key.values)
            if (key.path == path && value.name == name) return value;
    return std::nullopt;
}

}  // namespace qv::test
