#pragma once

#include "ui/ToolBarDropDowns.h"

#include <wx/accel.h>

#include <string>
#include <vector>

class MultiColumnCombo;
class wxCommandEvent;
class wxOwnerDrawnComboBox;

// Keys typed while a toolbar list is open select in the list: the main window's accelerators are
// taken away meanwhile (and its plain letter keys asked to wait).
bool IsToolBarListOpen();

// The Main toolbar: the library's categories and the models of the chosen one.
class MainToolBar : public MainWindowToolBar
{
public:
    MainToolBar(wxWindow* parent, wxWindow* target);
    bool AddCombos() override;
    void AddNextCombo() override;

    // Closed: the current model's category, or its model, as the single entry.
    void ShowCurrentCategory();
    void ShowCurrentModel();
    // Open: every category in tree order; without force nothing when the list holds two or more.
    void FillCategoryList(bool force);
    void FillModelList();
    // What choosing a row does.
    void OnCategorySelected(int row);
    void OnModelSelected(int row);

    wxOwnerDrawnComboBox* GetCategoryCombo() const { return mCategory; }
    wxOwnerDrawnComboBox* GetModelCombo() const { return mModel; }

private:
    // The category of a row of the category list; -1 for none or the unknown row.
    int CategoryOfRow(int row) const;
    int SelectedCategory() const;
    bool HasUnknownCategoryRow() const;
    void OpenCategoryEntry(int category, int n);
    void OnDropDownList(wxCommandEvent& event);
    void OnCloseUpList(wxCommandEvent& event);

    wxOwnerDrawnComboBox* mCategory = nullptr;
    wxOwnerDrawnComboBox* mModel = nullptr;
    int mNextCombo = 0;
    int mRowsFilled = 0;
    int mCategoryRows = 999999;
    int mShownModelCategory = -1;
    bool mModelHasUnknownRow = false;
};

// The Option toolbar: the current model's symmetry group and subgroups, by symbols, by rotation
// group and by reflection kind.
class OptionToolBar : public MainWindowToolBar
{
public:
    OptionToolBar(wxWindow* parent, wxWindow* target);
    bool AddCombos() override;
    void AddNextCombo() override;

    void ShowCurrentSymbols();
    void ShowCurrentRotational();
    void ShowCurrentReflective();
    void FillSymbolsList(bool force);
    void FillRotationalList(bool force);
    void FillReflectiveList(bool force);
    // Each applies a subgroup as one undo step.
    void OnSymbolsSelected(int row);
    void OnRotationalSelected(int row);
    void OnReflectiveSelected(int row);
    // Selects the pair in the three lists and applies it to the model; refill forces the lists
    // to be filled again.
    void SetSymmetry(int rotational, int reflective, bool refill);
    // Selects the pair without applying it.
    void ShowSymmetry(int rotational, int reflective);

    MultiColumnCombo* GetSymbolsCombo() const { return mSymbols; }
    wxOwnerDrawnComboBox* GetRotationalCombo() const { return mRotational; }
    wxOwnerDrawnComboBox* GetReflectiveCombo() const { return mReflective; }

private:
    void OnDropDownList(wxCommandEvent& event);
    void OnCloseUpList(wxCommandEvent& event);

    MultiColumnCombo* mSymbols = nullptr;
    wxOwnerDrawnComboBox* mRotational = nullptr;
    wxOwnerDrawnComboBox* mReflective = nullptr;
    int mNextCombo = 0;
};
