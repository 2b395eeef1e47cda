// The program's string table: every user-visible text by number, byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The text of string `id`, or none when the table has no such string.
std::optional<std::u16string> LoadString(uint32_t id);

// Numbers of the strings the code names.
enum StringId : uint32_t {
    kStrTitle = 1,
    kStrClassName = 2,
    kStrCompany = 4,
    kStrThereAreProblems = 40018,
    kStrErrorEditing = 40020,
    kStrCannotContinue = 40023,
    kStrErrorBuilding = 40024,
    kStrStartsAfterEnds = 40028,
    kStrCannotDeleteFile = 40029,
    kStrCannotCreateFile = 40030,
    kStrNoBusinessFolder = 40031,
    kStrNoPersonalFolder = 40032,
    kStrFileExists = 40041,
    kStrWriteFailed = 40044,
    kStrErrorDeleting = 40074,
    kStrErrorAdding = 40075,
    kStrProjectBarLabel = 40062,
    kStrBalanceLine = 40063,
    kStrTimeHeaderMinutes = 40064,
    kStrTimeHeaderHoursAndMinutes = 40065,
    kStrTimeHeaderHoursOnly = 40066,
    kStrCsvDate = 40067,
    kStrCsvMemo = 40068,
    kStrNoMemo = 40069,
    kStrDone = 40089,
    kStrOkBalance = 40090,
    kStrTooManyRecords = 40079,
};

// The named form of a store message: the text, one blank, the database name.
std::u16string NamedMessage(uint32_t id, const std::u16string& databaseName);

}  // namespace qv
