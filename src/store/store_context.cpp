// Helpers shared by the store operations.
#include "store/store_context.h"

#include "res/string_table.h"

namespace qv {

StoreHandle OpenByName(ObjectStore& store, const std::u16string& name, CEOID& oid) {
    oid = 0;
    return store.CeOpenDatabase(oid, name, kSortPropertyId, CEDB_AUTOINCREMENT);
}

void CloseKeptHandle(ObjectStore& store, uint32_t& handle) {
    if (handle == RecordStore::kInvalidHandle) return;
    if (handle != 0) store.CloseHandle(handle);
    handle = 0;
}

bool CreateAndOpen(ObjectStore& store, const std::u16string& name, uint32_t& handle,
                   uint32_t& databaseId) {
    databaseId = store.CeCreateDatabase(name, 0);
    CEOID oid = 0;
    handle = OpenByName(store, name, oid);
    if (handle == kInvalidStoreHandle) return false;
    databaseId = oid;
    return true;
}

CEOID ReopenAndFind(StoreContext& ctx, const std::u16string& name, uint32_t& handle,
                    uint32_t& databaseId, uint32_t value, uint32_t messageId) {
    CloseKeptHandle(ctx.store, handle);
    CEOID oid = 0;
    handle = OpenByName(ctx.store, name, oid);
    if (handle == kInvalidStoreHandle) {
        ShowNamedNotice(ctx.shell, messageId, name);
        return 0;
    }
    databaseId = oid;
    return ctx.store.CeSeekDatabase(handle, CEDB_SEEK_VALUEFIRSTEQUAL, value);
}

void ShowNamedNotice(Shell& shell, uint32_t stringId, const std::u16string& databaseName) {
    ShowNotice(shell, NamedMessage(stringId, databaseName));
}

uint32_t ClockDigitsId(const CalendarDate& now) {
    std::u16string digits = FormatDecimal(now.day) + FormatDecimal(now.hour) +
                            FormatDecimal(now.minute) + FormatDecimal(now.second);
    return static_cast<uint32_t>(ParseLong(TrimBlanks(digits)));
}

namespace {
uint16_t DaysInMonth(uint16_t year, uint16_t month) {
    static const uint16_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

CalendarDate OneSecondLater(CalendarDate t) {
    t.millisecond = 0;
    if (++t.second < 60) return t;
    t.second = 0;
    if (++t.minute < 60) return t;
    t.minute = 0;
    if (++t.hour < 24) return t;
    t.hour = 0;
    t.dayOfWeek = static_cast<uint16_t>((t.dayOfWeek + 1) % 7);
    if (++t.day <= DaysInMonth(t.year, t.month)) return t;
    t.day = 1;
    if (++t.month <= 12) return t;
    t.month = 1;
    ++t.year;
    return t;
}

}  // namespace qv
