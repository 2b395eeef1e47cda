// Export File Options: presets from the shared export settings and the remembered name, the
// checks of OK, and the call of the matching CSV writer.
#include "dialogs/export_dialog.h"

#include <array>
#include <string_view>

#include "dialogs/frame.h"
#include "export/csv_export.h"
#include "res/string_table.h"

namespace qv {
namespace {

// Index = ExportTimeType value.
constexpr std::array<std::u16string_view, kExportTimeTypeCount> kTimeTypeEntries = {
    u"minutes", u"hours and minutes", u"hours only"};

// What tells the three exports apart.
struct VariantTraits {
    int templateId;
    int first;
    uint32_t successText;
    std::u16string_view helpAnchor;
    Text AppState::*rememberedName;
};

VariantTraits Traits(ExportVariant variant) {
    switch (variant) {
        case ExportVariant::CategoryReport:
            return {kExportReportTemplate, kExportReportFirst, kStrDone, u"Exportrapport",
                    &AppState::lastReportExportName};
        case ExportVariant::ProjectsBalance:
            return {kExportReportTemplate, kExportReportFirst, kStrOkBalance, u"Exportbalance",
                    &AppState::lastReportExportName};
        case ExportVariant::TimeRecords:
            break;
    }
    return {kExportRecordsTemplate, kExportRecordsFirst, kStrDone, u"Export",
            &AppState::lastRecordsExportName};
}

class ExportDialog : public DialogBehaviour {
  public:
    ExportDialog(ExportDialogContext& ctx, ExportVariant variant)
        : ctx_(ctx), s_(ctx.state), variant_(variant), traits_(Traits(variant)) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, traits_.helpAnchor); }

  private:
    int Id(ExportControlOffset offset) const { return ExportControl(traits_.first, offset); }
    void OnOk(Dialog& d);
    void StoreChoices(const Dialog& d);
    ExportResult Export(const Text& name);
    // The name field again, its text selected for typing over, with the panel to type on.
    void BackToName(Dialog& d) {
        d.SetFocus(Id(kExportName));
        d.SelectAllText(Id(kExportName));
        SetInputPanel(ctx_.host, true);
    }
    void Leave(Dialog& d, int result) {
        ctx_.activeEntryDialog = nullptr;
        d.End(result);
    }

    ExportDialogContext& ctx_;
    AppState& s_;
    ExportVariant variant_;
    VariantTraits traits_;
};

void ExportDialog::OnInit(Dialog& d) {
    ctx_.activeEntryDialog = &d;
    const AppSettings& settings = s_.settings;
    for (std::u16string_view entry : kTimeTypeEntries) d.AddString(Id(kExportTimeType), entry);
    d.SetCurSel(Id(kExportTimeType), static_cast<int>(settings.TimeTypeExport));
    d.SetEditLimit(Id(kExportName), kExportNameChars);
    const Text& remembered = s_.*traits_.rememberedName;
    if (remembered && !remembered->empty()) d.SetText(Id(kExportName), *remembered);
    const bool unicode = settings.ExportFileType == ExportUnicode;
    d.SetChecked(Id(kExportAscii), !unicode);
    d.SetChecked(Id(kExportUnicode), unicode);
    const bool personal = settings.ExportFileFolder != ExportBusiness;
    d.SetChecked(Id(kExportBusiness), !personal);
    d.SetChecked(Id(kExportPersonal), personal);
    BackToName(d);
}

void ExportDialog::OnCommand(Dialog& d, int id, CommandCode code) {
    switch (code) {
        case CommandCode::DropDown:  // the list needs the room the input panel takes
            if (id == Id(kExportTimeType)) SetInputPanel(ctx_.host, false);
            return;
        case CommandCode::CloseUp:
            if (id == Id(kExportTimeType)) SetInputPanel(ctx_.host, true);
            return;
        case CommandCode::EditSetFocus:
            if (id == Id(kExportName)) SetInputPanel(ctx_.host, true);
            return;
        case CommandCode::Clicked:
            break;
        default:
            return;
    }
    if (id == IDOK || id == Id(kExportOk)) {  // the Done button confirms as OK does
        OnOk(d);
    } else if (id == Id(kExportCancel)) {
        Leave(d, Id(kExportCancel));
    }
}

// The choices become the presets of every export dialog even when nothing is written.
void ExportDialog::StoreChoices(const Dialog& d) {
    AppSettings& settings = s_.settings;
    settings.ExportFileType = d.IsChecked(Id(kExportUnicode)) && !d.IsChecked(Id(kExportAscii))
                                  ? ExportUnicode
                                  : ExportAscii;
    settings.ExportFileFolder = d.IsChecked(Id(kExportBusiness)) ? ExportBusiness : ExportPersonal;
    const int timeType = d.GetCurSel(Id(kExportTimeType));
    settings.TimeTypeExport = timeType >= 0 && timeType < kExportTimeTypeCount
                                  ? static_cast<uint32_t>(timeType)
                                  : static_cast<uint32_t>(HoursAndMinutes);
}

// The writer adds folder and extension itself: a name may hold letters, digits and blanks only,
// and must leave room for the extension in a file name.
void ExportDialog::OnOk(Dialog& d) {
    SetInputPanel(ctx_.host, false);
    StoreChoices(d);
    const std::u16string typed = d.Text(Id(kExportName));
    if (typed.empty()) return BackToName(d);
    const std::u16string name = TrimBlanks(typed);
    if (!IsValidName(name) || !ExportNameFits(name)) {
        ShowNotice(ctx_.host, kStrExportNameRefused);
        return BackToName(d);
    }
    // Remembered before the export, so a failed one still proposes the name next time.
    Text& remembered = s_.*traits_.rememberedName;
    remembered = name;

    ctx_.host.SetWaitCursor(true);
    const ExportResult result = Export(remembered);
    ctx_.host.SetWaitCursor(false);
    if (!Tell(ctx_.host, result)) return BackToName(d);  // told why, or declined silently
    ShowNotice(ctx_.host, traits_.successText);
    Leave(d, kExportDone);
}

ExportResult ExportDialog::Export(const Text& name) {
    const AppSettings& settings = s_.settings;
    // Dates and the hours-and-minutes separator follow the view settings.
    ExportContext out{ctx_.files, AskReplace(ctx_.host), settings.DateTypeView,
                      settings.TimeTypeView};
    const uint32_t timeType = settings.TimeTypeExport;
    const uint32_t encoding = settings.ExportFileType;
    const uint32_t folder = settings.ExportFileFolder;
    switch (variant_) {
        case ExportVariant::TimeRecords:
            return ExportTimeRecords(out, s_.timeRecords, name, timeType, encoding, folder);
        case ExportVariant::CategoryReport:
            return ExportCategoryReport(out, s_.categories, name, timeType, encoding, folder);
        case ExportVariant::ProjectsBalance:
            return ExportProjectsBalance(out, s_.projects, name, timeType, encoding, folder);
    }
    return {};
}

}  // namespace

int ShowExportDialog(ExportDialogContext& ctx, ExportVariant variant) {
    ExportDialog dialog(ctx, variant);
    return ctx.host.RunDialog(Traits(variant).templateId, dialog);
}

}  // namespace qv
