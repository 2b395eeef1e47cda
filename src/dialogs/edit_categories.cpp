// The category dialogs: the list with New, Rename and Delete, the two name dialogs, and the
// rename or deletion reaching the stored time records of every project.
#include "dialogs/edit_categories.h"

#include <string>

#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "platform/text/unicode_text.h"
#include "res/string_table.h"
#include "store/batch_changes.h"
#include "store/categories_store.h"

namespace qv {
namespace {

// A name as kept: lower case with an upper-case first character, without outer blanks.
std::u16string NormalisedName(std::u16string_view trimmed) {
    return TrimBlanks(UpperFirstCharacter(ToLowerText(trimmed)));
}

class EditCategories : public DialogBehaviour {
  public:
    explicit EditCategories(CategoriesContext& ctx) : ctx_(ctx), s_(ctx.store.state) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnActivate(Dialog&) override { SetInputPanel(ctx_.host, false); }
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, u"Categories"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(ctx_.host, d.Template().band);
    }

  private:
    void OnSelectionChange(Dialog& d);
    void OnRename(Dialog& d);
    void OnDelete(Dialog& d);
    // The name on the selected line; none, with Rename and Delete disabled, without a selection.
    std::optional<std::u16string> SelectedName(Dialog& d);
    void EnableChoice(Dialog& d, bool on) {
        d.Enable(kEditCategoriesRename, on);
        d.Enable(kEditCategoriesDelete, on);
    }

    CategoriesContext& ctx_;
    AppState& s_;
    int selectedCategoryIndex_ = -1;
};

void EditCategories::OnInit(Dialog& d) {
    for (CategoryItem* c = s_.categories.First(); c != nullptr; c = s_.categories.Next()) {
        d.AddString(kEditCategoriesList, c->name.value_or(u""));
    }
    EnableChoice(d, false);
    d.SetChecked(kEditCategoriesApplyToRecords, s_.settings.CatRecsApply == 1);
    SetInputPanel(ctx_.host, false);
    d.SetFocus(kEditCategoriesList);
}

void EditCategories::OnCommand(Dialog& d, int id, CommandCode code) {
    if (id == kEditCategoriesList) {
        if (code == CommandCode::SelectionChange) OnSelectionChange(d);
        return;
    }
    if (code != CommandCode::Clicked) return;
    const bool command = id == kEditCategoriesNew || id == kEditCategoriesRename ||
                         id == kEditCategoriesDelete || id == IDOK;
    if (!command) return;
    // The box is taken at every command, a declined deletion included.
    s_.settings.CatRecsApply = d.IsChecked(kEditCategoriesApplyToRecords) ? 1 : 0;
    switch (id) {
        case kEditCategoriesNew:
            return d.End(kEditCategoriesNew);
        case kEditCategoriesRename:
            return OnRename(d);
        case kEditCategoriesDelete:
            return OnDelete(d);
        default:
            return d.End(kEditCategoryOk);
    }
}

void EditCategories::OnSelectionChange(Dialog& d) {
    SetInputPanel(ctx_.host, false);
    selectedCategoryIndex_ = d.GetCurSel(kEditCategoriesList);
    const bool chosen = selectedCategoryIndex_ >= 0;
    EnableChoice(d, chosen);
    if (chosen) d.SetDefaultButton(kEditCategoriesRename);
}

std::optional<std::u16string> EditCategories::SelectedName(Dialog& d) {
    const int line = d.GetCurSel(kEditCategoriesList);
    std::optional<std::u16string> name;
    if (line >= 0) name = d.GetLBText(kEditCategoriesList, line);
    if (!name) EnableChoice(d, false);
    return name;
}

void EditCategories::OnRename(Dialog& d) {
    const auto name = SelectedName(d);
    if (!name) return;
    // The cursor carries the chosen category to Edit category.
    s_.categories.FindByName(*name);
    d.End(kEditCategoriesRename);
}

void EditCategories::OnDelete(Dialog& d) {
    if (!AskYesNo(ctx_.host, kStrDeleteCategory)) return;
    const auto name = SelectedName(d);
    if (!name) return;
    s_.categories.RemoveByName(*name);
    // The records follow the box even when the list could not be saved.
    const bool records = s_.settings.CatRecsApply == 1;
    if (records) ctx_.host.SetWaitCursor(true);
    const StoreResult saved = SaveCategoryDeletion(ctx_.store, *name, records);
    if (records) ctx_.host.SetWaitCursor(false);
    Tell(ctx_.host, saved);
    if (records && s_.recordsChanged) UpdateProjectBalance(s_);
    d.End(kEditCategoriesDelete);
}

// New category and Edit category: one name field, its OK and Cancel, the same checks.
class CategoryName : public DialogBehaviour {
  public:
    CategoryName(CategoriesContext& ctx, int field, int ok, int cancel)
        : ctx_(ctx), s_(ctx.store.state), field_(field), ok_(ok), cancel_(cancel) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, u"Categories"); }

  protected:
    // The checked and normalised name is stored; the dialog then ends with `ok_`.
    virtual void Store(const std::u16string& name) = 0;
    virtual void Fill(Dialog&) {}

    CategoriesContext& ctx_;
    AppState& s_;

  private:
    void OnOk(Dialog& d);
    void BackToField(Dialog& d) {
        d.SetFocus(field_);
        d.SelectAllText(field_);
        SetInputPanel(ctx_.host, true);
    }
    void Leave(Dialog& d, int result) {
        ctx_.activeEntryDialog = nullptr;
        d.End(result);
    }

    int field_;
    int ok_;
    int cancel_;
};

void CategoryName::OnInit(Dialog& d) {
    ctx_.activeEntryDialog = &d;
    d.SetEditLimit(field_, kCategoryNameChars);
    Fill(d);
    BackToField(d);
}

void CategoryName::OnCommand(Dialog& d, int id, CommandCode code) {
    if (id == field_) {
        if (code == CommandCode::EditSetFocus) SetInputPanel(ctx_.host, true);
        if (code == CommandCode::EditChange) {
            const bool typed = !d.Text(field_).empty();
            d.Enable(ok_, typed);
            d.SetDefaultButton(typed ? ok_ : cancel_);
        }
        return;
    }
    if (code != CommandCode::Clicked) return;
    if (id == ok_ || id == IDOK) return OnOk(d);
    if (id == cancel_) return Leave(d, cancel_);
}

void CategoryName::OnOk(Dialog& d) {
    SetInputPanel(ctx_.host, false);
    const std::u16string typed = d.Text(field_, kCategoryNameChars);
    if (typed.empty()) ctx_.host.MessageBeep(MB_BEEP);
    const std::u16string trimmed = TrimBlanks(typed);
    // A field of blanks only stays without a word or a beep.
    if (trimmed.empty()) return BackToField(d);
    if (!HasValidFirstChar(trimmed)) {
        ShowNotice(ctx_.host, kStrBadFirstCharacter);
        return BackToField(d);
    }
    Store(NormalisedName(trimmed));
    Leave(d, ok_);
}

class NewCategory : public CategoryName {
  public:
    explicit NewCategory(CategoriesContext& ctx)
        : CategoryName(ctx, kNewCategoryName, kNewCategoryOk, kNewCategoryCancel) {}

  private:
    // A name already listed is passed over without a word; the list is saved all the same.
    void Store(const std::u16string& name) override {
        CategoryItem item;
        SetName(item, name);
        s_.categories.Add(item);
        Tell(ctx_.host, SaveCategories(ctx_.store));
    }
};

class EditCategory : public CategoryName {
  public:
    explicit EditCategory(CategoriesContext& ctx)
        : CategoryName(ctx, kEditCategoryName, kEditCategoryOk, kEditCategoryCancel) {}

  private:
    void Fill(Dialog& d) override {
        const CategoryItem* chosen = s_.categories.Current();
        d.SetText(kEditCategoryName, chosen != nullptr ? chosen->name.value_or(u"") : u"");
    }
    // The renamed category goes to the end of the list, even under its own name; a name that
    // is already listed takes the old category's place (the two merge).
    void Store(const std::u16string& name) override {
        const CategoryItem* chosen = s_.categories.Current();
        if (chosen == nullptr) return;
        const std::u16string oldName = chosen->name.value_or(u"");
        s_.categories.RemoveByName(oldName);
        CategoryItem item;
        SetName(item, name);
        s_.categories.Add(item);
        // The list and the records change together: a crash half way keeps the old name in both.
        const bool records = s_.settings.CatRecsApply == 1;
        if (records) ctx_.host.SetWaitCursor(true);
        const StoreResult saved = SaveCategoryRename(ctx_.store, oldName, name, records);
        if (records) ctx_.host.SetWaitCursor(false);
        Tell(ctx_.host, saved);
    }
};

}  // namespace

int ShowEditCategories(CategoriesContext& ctx) {
    EditCategories dialog(ctx);
    return ctx.host.RunDialog(kEditCategoriesTemplate, dialog);
}

int ShowNewCategory(CategoriesContext& ctx) {
    NewCategory dialog(ctx);
    return ctx.host.RunDialog(kNewCategoryTemplate, dialog);
}

int ShowEditCategory(CategoriesContext& ctx) {
    EditCategory dialog(ctx);
    return ctx.host.RunDialog(kEditCategoryTemplate, dialog);
}

int EditCategoriesLoop(CategoriesContext& ctx) {
    for (;;) {
        const int result = ShowEditCategories(ctx);
        switch (result) {
            case kEditCategoriesNew:
                if (ShowNewCategory(ctx) < 0) return result;
                break;
            case kEditCategoriesRename:
                if (ShowEditCategory(ctx) < 0) return result;
                break;
            case kEditCategoriesDelete:
                break;
            default:
                // Done, or a dialog that could not be shown: either way the loop ends.
                return result;
        }
    }
}

}  // namespace qv
