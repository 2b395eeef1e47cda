// The program's messages by string number, and what the store and the export report told as
// those messages. Every box has the program title for caption; the wait cursor goes first.
#pragma once

#include <cstdint>
#include <string>

#include "export/csv_export.h"
#include "platform/ui/shell.h"
#include "store/store_result.h"

namespace qv {

void ShowNotice(Shell& shell, uint32_t stringId);  // exclamation, OK (48)
void ShowStop(Shell& shell, uint32_t stringId);    // stop, OK (16)
bool AskYesNo(Shell& shell, uint32_t stringId);    // Yes/No, exclamation (52); true on Yes
// The string, one blank and a database name, as a notice.
void ShowNamedNotice(Shell& shell, uint32_t stringId, const std::u16string& databaseName);

// Tells each failure of a store operation in turn; returns whether the operation succeeded.
bool Tell(Shell& shell, const StoreResult& result);
// Tells why a file was not written, if there is anything to tell; returns whether it was.
bool Tell(Shell& shell, const ExportResult& result);

// The replace question an export asks before writing over a file.
ReplaceQuestion AskReplace(Shell& shell);

}  // namespace qv
