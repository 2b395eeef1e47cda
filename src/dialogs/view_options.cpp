// View Options: the date and time formats, each with its sample, taken only on confirmation.
#include "dialogs/view_options.h"

#include <span>

#include "dialogs/frame.h"
#include "res/dialog_texts.h"

namespace qv {
namespace {

class ViewOptions : public DialogBehaviour {
  public:
    ViewOptions(UiHost& host, AppSettings& settings) : host_(host), settings_(settings) {}

    void OnInit(Dialog& d) override {
        Fill(d, kViewOptionsDateType, kDateViewEntries, settings_.DateTypeView);
        Fill(d, kViewOptionsTimeType, kTimeViewEntries, settings_.TimeTypeView);
        ShowSamples(d);
        SetInputPanel(host_, false);
    }
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnActivate(Dialog&) override { SetInputPanel(host_, false); }
    void OnHelp(Dialog&) override { ShowHelp(host_, u"Settings"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(host_, d.Template().band);
    }

  private:
    static void Fill(Dialog& d, int box, std::span<const std::u16string_view> entries,
                     uint32_t selected) {
        for (std::u16string_view entry : entries) d.AddString(box, entry);
        d.SetCurSel(box, static_cast<int>(selected));
    }
    // A box without a selection leaves its sample as it is.
    static void ShowSamples(Dialog& d) {
        ShowSample(d, kViewOptionsDateType, kViewOptionsDateSample, kDateViewSamples);
        ShowSample(d, kViewOptionsTimeType, kViewOptionsTimeSample, kTimeViewSamples);
    }
    static void ShowSample(Dialog& d, int box, int label,
                           std::span<const std::u16string_view> samples) {
        const int index = d.GetCurSel(box);
        if (index >= 0 && static_cast<size_t>(index) < samples.size()) {
            d.SetText(label, samples[static_cast<size_t>(index)]);
        }
    }
    // A box without a selection stands for the first entry.
    static uint32_t Chosen(const Dialog& d, int box) {
        const int index = d.GetCurSel(box);
        return index < 0 ? 0 : static_cast<uint32_t>(index);
    }

    UiHost& host_;
    AppSettings& settings_;
};

void ViewOptions::OnCommand(Dialog& d, int id, CommandCode code) {
    switch (code) {
        case CommandCode::SelectionChange:
            ShowSamples(d);
            return;
        case CommandCode::DropDown:
            SetInputPanel(host_, false);
            return;
        case CommandCode::Clicked:
            break;
        default:
            return;
    }
    if (id == kViewOptionsOk || id == IDOK) {
        settings_.DateTypeView = Chosen(d, kViewOptionsDateType);
        settings_.TimeTypeView = Chosen(d, kViewOptionsTimeType);
        d.End(kViewOptionsOk);
    } else if (id == kViewOptionsCancel) {
        d.End(kViewOptionsCancel);
    }
}

}  // namespace

int ShowViewOptions(UiHost& host, AppSettings& settings) {
    ViewOptions dialog(host, settings);
    return host.RunDialog(kViewOptionsTemplate, dialog);
}

}  // namespace qv
