// Fixed texts the dialogs put into their lists and labels, byte for byte.
#pragma once

#include <string_view>

namespace qv {

// View Options: the entries of the two boxes, indexed by DateViewType and TimeViewType, and
// the sample each shows. The date samples have a two-digit year.
inline constexpr std::u16string_view kDateViewEntries[] = {u"dd - mm - yyyy", u"dd / mm / yyyy",
                                                           u"mm - dd - yyyy", u"mm / dd / yyyy"};
inline constexpr std::u16string_view kDateViewSamples[] = {u"29-10-05", u"29/10/05", u"10-29-05",
                                                           u"10/29/05"};
inline constexpr std::u16string_view kTimeViewEntries[] = {u" , (comma)", u" : (colon)"};
inline constexpr std::u16string_view kTimeViewSamples[] = {u"13,30", u"13:30"};

}  // namespace qv
