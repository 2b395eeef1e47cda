// Messages by string number.
#include "dialogs/messages.h"

#include "res/string_table.h"

namespace qv {
namespace {

std::u16string StringOrEmpty(uint32_t id) {
    return LoadString(id).value_or(std::u16string());
}

void TellOne(Shell& shell, const StoreFailure& failure) {
    switch (failure.fault) {
        case StoreFault::Adding:
            return ShowNamedNotice(shell, kStrErrorAdding, failure.database);
        case StoreFault::Editing:
            return ShowNamedNotice(shell, kStrErrorEditing, failure.database);
        case StoreFault::Deleting:
            return ShowNamedNotice(shell, kStrErrorDeleting, failure.database);
        case StoreFault::Building:
            return ShowNamedNotice(shell, kStrErrorBuilding, failure.database);
        case StoreFault::BuildingHalted:
            return ShowStop(shell, kStrErrorBuilding);
        case StoreFault::Unreadable:
            shell.SetWaitCursor(false);
            shell.MessageBeep(MB_BEEP);
            return ShowStop(shell, kStrThereAreProblems);
        case StoreFault::TooManyRecords:
            return ShowNotice(shell, kStrTooManyRecords);
    }
}

}  // namespace

void ShowNotice(Shell& shell, uint32_t stringId) {
    ShowNotice(shell, StringOrEmpty(stringId));
}

void ShowStop(Shell& shell, uint32_t stringId) {
    ShowStop(shell, StringOrEmpty(stringId));
}

bool AskYesNo(Shell& shell, uint32_t stringId) {
    return AskYesNo(shell, StringOrEmpty(stringId));
}

void ShowNamedNotice(Shell& shell, uint32_t stringId, const std::u16string& databaseName) {
    ShowNotice(shell, NamedMessage(stringId, databaseName));
}

bool Tell(Shell& shell, const StoreResult& result) {
    for (const StoreFailure& failure : result.failures()) TellOne(shell, failure);
    return result.ok();
}

bool Tell(Shell& shell, const ExportResult& result) {
    switch (result.fault) {
        case ExportFault::None:
            break;
        case ExportFault::NoBusinessFolder:
            ShowNotice(shell, kStrNoBusinessFolder);
            break;
        case ExportFault::NoPersonalFolder:
            ShowNotice(shell, kStrNoPersonalFolder);
            break;
        case ExportFault::CannotCreate:
            ShowStop(shell, kStrCannotCreateFile);
            break;
        case ExportFault::WriteFailed:
            ShowStop(shell, kStrWriteFailed);
            break;
    }
    return result.written;
}

ReplaceQuestion AskReplace(Shell& shell) {
    return [&shell](const std::u16string&) { return AskYesNo(shell, kStrFileExists); };
}

}  // namespace qv
