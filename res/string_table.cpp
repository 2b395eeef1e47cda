// The string table.
#include "res/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv {
namespace {

struct Entry {
    uint32_t id;
    const char16_t* text;
};

// Sorted by number.
constexpr Entry kStrings[] = {
    {1, u"Quorvella"},
    {2, u"Quorvella"},
    {4, u"Brumo"},
    {40003, u"New Time..."},
    {40004, u"Time Record"},
    {40005, u"Category"},
    {40006, u"Date and time view options"},
    {40007, u"Delete Records by Range of Dates"},
    {40008, u"Project"},
    {40010, u"About"},
    {40011, u"Date"},
    {40012, u"Category"},
    {40013, u"Time"},
    {40016, u"Time"},
    {40017, u"Tools"},
    {40018, u"There are problems with Quorvella database !"},
    {40019, u"Edit Categories..."},
    {40020, u"Error during edit operation in database:"},
    {40021, u"Time Report..."},
    {40023, u"The Quorvella program cannot continue !"},
    {40024, u"Error during building database:"},
    {40028, u"Starts date must be earlier than Ends date!"},
    {40029, u"Cannot delete File. The source or destination file may be in use."},
    {40030, u"Program failed to create file."},
    {40031,
     u"Folder Business doesn't exist on you PocketPC. Please, restore original folder "
     u"structure on you PocketPC, and try again."},
    {40032,
     u"Folder Personal doesn't exist on you PocketPC. Please, restore original folder "
     u"structure on you PocketPC, and try again."},
    {40038, u"New"},
    {40039, u"Selected item will be permanently deleted. Continue?"},
    {40040, u"Selected record will be deleted. Continue?"},
    {40041, u"File already exists - do you want replace existing file?"},
    {40044, u"Program failed to write time records in file."},
    {40045, u"Export Time records..."},
    {40046, u"View Options"},
    {40047, u"Category"},
    {40048, u"Time"},
    {40049, u"Exit"},
    {40050, u"Undo Deleting"},
    {40051,
     u"Current version Quorvella supports only 100 category items. You have more than that. "
     u"In order to continue, please, delete some of yours categories. Thanks."},
    {40052, u"Delete by Range of Dates..."},
    {40053, u"Empty Undo Time records"},
    {40054, u"New Project..."},
    {40055, u"Projects..."},
    {40056, u"Projects Balance..."},
    {40057, u"New Time Record"},
    {40058, u"Edit Categories"},
    {40059, u"Time Report"},
    {40060, u"Undo Deleting"},
    {40061, u"Export Time records"},
    {40062, u"Project:"},
    {40063, u"Balance (hh mm) %s"},
    {40064, u"Time (minutes)"},
    {40065, u"Time (hours and minutes)"},
    {40066, u"Time (hours only)"},
    {40067, u"Date"},
    {40068, u"Memo"},
    {40069, u"----"},
    {40070, u"Error: categories name sorting"},
    {40071, u"Error: categories time sorting"},
    {40072,
     u"The Undo can hold only 12 records. Deleting this record will add it to the end and "
     u"discard the first record. Do you want to delete it anyway?"},
    {40073,
     u"Please, enter a unique name that is alphabetic character within the ranges A - Z or "
     u"a - z or decimal digit (0 - 9)."},
    {40074, u"Error during deleting record in database:"},
    {40075, u"Error during adding record to database:"},
    {40076,
     u"The first letter must be alphabetic character within the ranges A - Z or a - z or "
     u"decimal digit (0 - 9)."},
    {40077, u"No Records found !"},
    {40078, u"records will be deleted. Continue?"},
    {40079, u"The Quorvella database holds the largest number of time records it can keep."},
    {40080, u"This Project already exists, please choose another."},
    {40081, u"Selected Project will be permanently deleted. Continue?"},
    {40082,
     u"Current version of Quorvella supports only 15 Projects. You reached this maximum "
     u"number! Solution: You can delete one of the old Projects..."},
    {40083, u"Project"},
    {40084, u"Created"},
    {40085, u"To edit project tap on its name !"},
    {40086, u"Project"},
    {40087, u"Balance"},
    {40088, u"No registered time found in date range specified !"},
    {40089, u"Done!"},
    {40090, u"OK !"},
    {40091, u"Please, repeat Delete record operation."},
};

}  // namespace

std::optional<std::u16string> LoadString(uint32_t id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const Entry& e, uint32_t v) { return e.id < v; });
    if (it == std::end(kStrings) || it->id != id) return std::nullopt;
    return std::u16string(it->text);
}

std::u16string NamedMessage(uint32_t id, const std::u16string& databaseName) {
    return LoadString(id).value_or(u"") + u" " + databaseName;
}

}  // namespace qv
