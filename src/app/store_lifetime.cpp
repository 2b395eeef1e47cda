// Opening the store at start-up and tidying it at exit.
#include "app/store_lifetime.h"

#include "app/app.h"
#include "dialogs/frame.h"
#include "res/string_table.h"
#include "store/categories_store.h"
#include "store/record_store.h"

namespace qv {

bool OpenStoreAtStart(App& app) {
    app.host.SetWaitCursor(true);
    if (!Tell(app.host, OpenStore(app.store))) {
        ShowStop(app.host, kStrCannotContinue);
        app.host.SetWaitCursor(false);
        return false;
    }
    app.host.SetWaitCursor(false);
    return true;
}

void TidyStoreAtExit(App& app) {
    DropEmptyTimeDatabase(app.store);
    DropEmptyProjectsDatabase(app.store);
    Tell(app.host, SaveCategories(app.store));
}

}  // namespace qv
