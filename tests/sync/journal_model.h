// Journals read without the engine: the lines of a journal file, their checksums, and the book
// the merge rule makes of a set of changes. Kept apart from the engine's own reading so that a
// fault in one is not hidden by the same fault in the other.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::testing {

inline std::string Crc32Hex(std::string_view bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", ~c);
    return hex;
}

struct Change {
    std::string computer;
    uint64_t serial = 0;
    uint64_t clock = 0;
    std::string kind;
    std::string key;
    std::vector<std::string> fields;  // the content after the key
    std::pair<uint64_t, std::string> Stamp() const { return {clock, computer}; }
};

inline bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        const char c = text[i];
        if (c != '\\' && c != 't' && c != 'n' && c != 'r') return false;
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : '\\';
    }
    return true;
}

// The changes of a journal's bytes up to the first line that is incomplete or fails its
// checksum. A line whose checksum holds but whose fields are wrong is a fault of the writer.
inline std::vector<Change> ReadJournal(std::string_view text) {
    static const std::map<std::string, size_t> kFields = {{"R+", 5}, {"R-", 0}, {"P+", 2},
                                                          {"P-", 0}, {"C+", 0}, {"C-", 0}};
    std::vector<Change> changes;
    for (size_t pos = 0, end; (end = text.find('\n', pos)) != std::string_view::npos;
         pos = end + 1) {
        const std::string_view line = text.substr(pos, end - pos);
        const size_t tab = line.rfind('\t');
        if (tab == std::string_view::npos ||
            line.substr(tab + 1) != Crc32Hex(line.substr(0, tab))) {
            break;
        }
        std::vector<std::string> parts;
        for (size_t from = 0, to = 0; from <= tab; from = to + 1) {
            to = line.find('\t', from);
            std::string part;
            if (!Unescape(line.substr(from, to - from), part)) ADD_FAILURE() << "escape: " << line;
            parts.push_back(std::move(part));
        }
        Change c;
        const auto fields = parts.size() >= 7 ? kFields.find(parts[5]) : kFields.end();
        if (parts[0] != "Q1" || fields == kFields.end() || parts.size() != 7 + fields->second ||
            parts[1].size() != 32) {
            ADD_FAILURE() << "malformed line: " << line;
            break;
        }
        c.computer = parts[1];
        c.serial = std::stoull(parts[2]);
        c.clock = std::stoull(parts[3]);
        c.kind = parts[5];
        c.key = parts[6];
        c.fields.assign(parts.begin() + 7, parts.end());
        changes.push_back(std::move(c));
    }
    return changes;
}

// Projects as (name, created, description), categories, records as (date, minutes, project,
// category, memo); local identifiers play no part.
struct Book {
    std::multiset<std::vector<std::string>> projects;
    std::vector<std::string> categories;
    std::multiset<std::vector<std::string>> records;
    friend bool operator==(const Book&, const Book&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Book& b) {
    const auto rows = [&](const char* what, const auto& list) {
        for (const auto& row : list) {
            os << what;
            for (const std::string& f : row) os << " [" << f << "]";
            os << "\n";
        }
    };
    rows("project", b.projects);
    for (const std::string& c : b.categories) os << "category [" << c << "]\n";
    rows("record", b.records);
    return os;
}

// The merge rule: for each object the change with the greatest (clock, computer) wins and the
// object is present when that is a put; a project deleted while a present record names it
// stays, with the content of its latest put (none when no put was read). Categories come out
// in name order.
inline Book Merge(const std::vector<Change>& changes) {
    std::map<std::pair<char, std::string>, const Change*> winner;
    std::map<std::string, const Change*> lastProjectPut;
    for (const Change& c : changes) {
        const Change*& w = winner[{c.kind[0], c.key}];
        if (w == nullptr || c.Stamp() > w->Stamp()) w = &c;
        const Change*& p = lastProjectPut[c.key];
        if (c.kind == "P+" && (p == nullptr || c.Stamp() > p->Stamp())) p = &c;
    }
    Book b;
    std::set<std::string> projects;
    for (const auto& [object, c] : winner) {
        if (c->kind[1] != '+') continue;
        if (object.first == 'R') b.records.insert(c->fields);
        if (object.first == 'C') b.categories.push_back(object.second);
        if (object.first == 'P') projects.insert(object.second);
    }
    for (const auto& r : b.records) projects.insert(r[2]);
    for (const std::string& name : projects) {
        const Change* put = lastProjectPut[name];
        if (put != nullptr) {
            b.projects.insert({name, put->fields[0], put->fields[1]});
        } else {
            b.projects.insert({name});  // named by a record, its put not read yet
        }
    }
    return b;
}

}  // namespace qv::testing
