// Names for the fields of a dialog, from the labels beside them.
#include "platform/ui/field_names.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "core/text.h"

namespace qv {
namespace {

// How far a label may reach past a field's left edge and still stand to its left, and how far
// above a field a label may end and still be the one over it.
constexpr int kSlack = 4;
constexpr int kGapAbove = 12;
// A field's first row: a drop-down list's height holds its open list as well.
constexpr int kRowHeight = 24;

bool IsField(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::Combo ||
           kind == ControlKind::DatePicker || kind == ControlKind::ListBox;
}

bool IsLabel(const ControlState& c) {
    return c.kind == ControlKind::Static && (c.style & kStyleIcon) == 0 && c.visible &&
           !TrimBlanks(c.text).empty();
}

// Whether the label's middle lies on the field's first row.
bool OnRow(const Rect& label, const Rect& field) {
    const int middle = label.y + label.h / 2;
    return middle >= field.y && middle <= field.y + std::min(field.h, kRowHeight);
}

bool ColumnsMeet(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w;
}

// The label on the field's row nearest to its left, else the nearest one just above it.
const ControlState* LabelBeside(const std::vector<ControlState>& controls, const Rect& field) {
    const ControlState* best = nullptr;
    for (const ControlState& c : controls) {
        const Rect& r = c.rect;
        if (IsLabel(c) && OnRow(r, field) && r.x < field.x && r.x + r.w <= field.x + kSlack &&
            (best == nullptr || r.x > best->rect.x)) {
            best = &c;
        }
    }
    if (best != nullptr) return best;
    for (const ControlState& c : controls) {
        const Rect& r = c.rect;
        const int gap = field.y - (r.y + r.h);
        if (IsLabel(c) && ColumnsMeet(r, field) && gap >= -kSlack && gap <= kGapAbove &&
            (best == nullptr || r.y > best->rect.y)) {
            best = &c;
        }
    }
    return best;
}

// The names of `count` fields under one label: "Time (h m):" gives "Time (h):" and "Time (m):"
// when it has a part for each; otherwise "Date:", "Date: 2", "Date: 3"...
std::vector<std::u16string> Shared(const std::u16string& label, size_t count) {
    std::vector<std::u16string> names;
    const size_t open = label.rfind(u'(');
    const size_t close = label.find(u')', open == std::u16string::npos ? 0 : open);
    if (open != std::u16string::npos && close != std::u16string::npos) {
        std::vector<std::u16string> parts;
        for (size_t at = open + 1; at < close;) {
            const size_t end = std::min(label.find(u' ', at), close);
            if (end > at) parts.push_back(label.substr(at, end - at));
            at = end + 1;
        }
        if (parts.size() == count) {
            for (const std::u16string& part : parts)
                names.push_back(label.substr(0, open + 1) + part + label.substr(close));
            return names;
        }
    }
    for (size_t i = 0; i < count; ++i)
        names.push_back(i == 0 ? label : label + u" " + FormatDecimal(static_cast<int64_t>(i + 1)));
    return names;
}

}  // namespace

std::vector<FieldName> FieldNames(const std::vector<ControlState>& controls,
                                  const std::u16string& heading) {
    std::vector<FieldName> names(controls.size());
    FieldName before{TrimBlanks(heading)};  // the last label met in the dialog's order
    std::map<std::u16string, std::vector<size_t>> sharing;  // visible fields by their label
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlState& c = controls[i];
        if ((c.kind == ControlKind::Static || c.kind == ControlKind::GroupBox) &&
            !TrimBlanks(c.text).empty()) {
            before = {TrimBlanks(c.text), static_cast<int>(i)};
        } else if (c.kind == ControlKind::ListView) {
            for (const ListColumn& column : c.columns)
                names[i].name += (names[i].name.empty() ? u"" : u", ") + column.header;
        } else if (IsField(c.kind)) {
            const ControlState* label = LabelBeside(controls, c.rect);
            names[i] = label == nullptr ? before
                                        : FieldName{TrimBlanks(label->text),
                                                    static_cast<int>(label - controls.data())};
            if (c.visible) sharing[names[i].name].push_back(i);
        }
    }
    for (const auto& [label, fields] : sharing) {
        if (fields.size() < 2) continue;
        const std::vector<std::u16string> told = Shared(label, fields.size());
        for (size_t k = 0; k < fields.size(); ++k) names[fields[k]].name = told[k];
    }
    return names;
}

}  // namespace qv
