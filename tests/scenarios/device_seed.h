// Seeds a device folder from seed lines: projects, time records and categories made with the
// program's own store operations, registry values, files on the device, and cut store or hive
// files.
//
//   clock 2005-10-29 12:00:00             the clock for the identifiers that follow
//   project "Alpha" 2005-10-01 ["description"]
//   record "Alpha" 2005-10-29 90 "Travel" ["memo"]
//   forget "Alpha"                        the project leaves the store, its records stay
//   category "Travel"
//   dword "Software\Brumo\Quorvella\Settings" SortOrder 1
//   sz "Software\Brumo\Quorvella\Settings" LastProject "Beta"
//   truncate-store BYTES|half             once every other line is applied and the store
//                                         closed, the store file is cut to BYTES (0: an
//                                         empty file) or to half its size
//   truncate-hive BYTES|half              ... the registry hive likewise
//   file "My Documents/Business/week 12.csv" "an \"older\" file"
//                                         a file under the device root holding the text's
//                                         UTF-8 bytes, \" and \\ unescaped as in every
//                                         quoted text; its folders are made
#pragma once

#include <istream>
#include <string>

#include "platform/files/device_files.h"

namespace qv {

// Provisions `folders` and applies every line of `seed`. False with `why` (naming the line)
// when a line is not understood or the store refuses it.
bool SeedDevice(const DeviceFolders& folders, std::istream& seed, std::string& why);

}  // namespace qv
