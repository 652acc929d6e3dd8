#include "document/PolyDoc.h"

#include "document/UndoList.h"
#include "kernel/Messages.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UndoKinds.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryEntry.h"
#include "library/LibrarySearchResult.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"

#include <string>

namespace
{
// Transition occasion of a library model being opened.
constexpr int kOccasionLoadBuiltInModel = 3;

// The stepping commands write to the first pane's message line.
void SetFirstViewMessage(const std::string& text)
{
    if (NewView* view = NewView::GetFirstView())
        NewView::SetMessage(view, "%s", text.c_str());
}

bool FirstViewHasMessage()
{
    const NewView* view = NewView::GetFirstView();
    return view && !view->GetMessage().empty();
}
}  // namespace

bool CPolyDoc::OpenLibraryModel(const LibraryEntry* entry, bool /*fromChooser*/, bool keepSearch)
{
    if (!entry)
        return false;
    LibrarySearchResult* search = GetCurrentSearchResult();

    BeginUndoGroup(kUndoOpenBuiltInModel);
    const bool built = BuildNewModel(
        kOccasionLoadBuiltInModel,
        [&](Poly& poly) {
            PolyTemplate* templ = GetCurrentTemplate();
            if (!poly.CreateFromLibraryEntry(templ, entry, false))
                return false;
            poly.SetFromLibraryEntry(entry);
            return true;
        },
        true);
    if (!built)
        DiscardLastUndo();
    EndUndoGroup();
    if (keepSearch)
        SetCurrentSearchResult(search);
    if (!built)
        return false;
    mUnbuiltEntry = nullptr;
    ModelChanged(false);
    UpdateTitle();
    NewView::InvalidateAll(true, false);
    return true;
}

void CPolyDoc::StepModel(int step)
{
    // Stepping backwards plays every transition it starts in reverse.
    InverseTransitionScope backwards(step < 0);
    if (GetFirstSearchResult())
    {
        LibrarySearchResult* first = GetFirstSearchResult();
        if (first == GetLastSearchResult())
        {
            SetFirstViewMessage("Your search only found one polyhedron");
            return;
        }
        LibrarySearchResult* current = GetCurrentSearchResult();
        LibrarySearchResult* next = nullptr;
        bool wrapped = false;
        if (current)
            next = step > 0 ? current->next : current->prev;
        if (!next)
        {
            next = step > 0 ? first : GetLastSearchResult();
            wrapped = current != nullptr;
        }
        SetCurrentSearchResult(next);
        OpenLibraryModel(next->mEntry, false, true);
        if (wrapped && !FirstViewHasMessage())
            SetFirstViewMessage(step > 0 ? "Wrapped from last to first search result"
                                         : "Wrapped from first to last search result");
        return;
    }
    // After a row that could not be built, the next step goes on from that row rather than trying
    // it again from the model still shown.
    const Poly& poly = GetCurrentRecord()->mPoly;
    const LibraryEntry* from = mUnbuiltEntry ? mUnbuiltEntry : poly.mLibraryEntry;
    const LibraryEntry* entry = StepLibraryEntry(from, GetCurrentTemplate(), step);
    if (entry && !OpenLibraryModel(entry, false, false))
        mUnbuiltEntry = entry;
}

void CPolyDoc::OnNextPolyhedron(wxCommandEvent& /*event*/)
{
    StepModel(1);
}

void CPolyDoc::OnPreviousPolyhedron(wxCommandEvent& /*event*/)
{
    StepModel(-1);
}

void CPolyDoc::BindOpenCommands()
{
    Bind(wxEVT_MENU, &CPolyDoc::OnNextPolyhedron, this, kCmdNextPolyhedron);
    Bind(wxEVT_MENU, &CPolyDoc::OnPreviousPolyhedron, this, kCmdPreviousPolyhedron);
}
