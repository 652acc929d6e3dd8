#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Stellation.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <algorithm>
#include <cstdio>

namespace
{
// The file name without folders and extension, each ';' shown as '/'.
std::string FileTitle(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    std::replace(name.begin(), name.end(), ';', '/');
    return name;
}

std::string DocumentPath()
{
    const CPolyDoc* doc = GetPolyDoc();
    return doc ? doc->GetFilePath() : std::string();
}

bool IsBlank(const char* text)
{
    if (!text)
        return true;
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t')
            return false;
    return true;
}

// A variation of a catalogue configuration closes up differently from the catalogue's polyhedron:
// it is named as its pseudo version and given none of the catalogue's numbers.
bool IsPseudoModel(const Poly& poly)
{
    return poly.mVariation;
}
}  // namespace

std::string CPolyView::GetModelName(bool withSymbol, bool withNumbers) const
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return "Unnamed";
    const LibraryEntry* entry = poly->mLibraryEntry;
    std::string name;
    if (poly->mTemplate && !entry)
    {
        if (!IsBlank(poly->GetBaseName()))
            return poly->mBaseName;
        return PolyTemplate::GetName(poly->mTemplate);
    }
    if (poly->mTemplate && entry)
    {
        if (IsPseudoModel(*poly))
        {
            name = "Pseudo ";
            withNumbers = false;
        }
        name += !IsBlank(poly->GetBaseName()) ? poly->mBaseName : std::string(entry->mName ? entry->mName : "");
        if (withSymbol)
        {
            name += " (" + LibraryEntry::GetSymbol(entry) + ")";
            if (withNumbers && entry->mPage1 >= 0)
            {
                char numbers[64];
                std::snprintf(numbers, sizeof numbers, ", W%d, p%d", entry->mNumber, entry->mPage1);
                name += numbers;
            }
        }
        return name;
    }
    if (!IsBlank(poly->GetBaseName()))
        name = poly->mBaseName;
    else if (entry && entry->mName)
        name = entry->mName;
    else if (DocumentPath().empty())
        name = "Unnamed";
    else
        name = FileTitle(DocumentPath());
    if (withSymbol)
    {
        const std::string symbol = poly->GetName();
        if (!symbol.empty())
            name += " (" + symbol + ")";
    }
    return name;
}

std::string CPolyView::GetDualName(bool withSymbol, bool withNumbers) const
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return "Unnamed Dual";
    const LibraryEntry* entry = poly->mLibraryEntry;
    if (poly->mTemplate && !entry)
        return IsBlank(poly->GetDualName()) ? "D-" + GetModelName(withSymbol, withNumbers) : poly->mDualName;
    if (poly->mTemplate && entry)
    {
        std::string name;
        if (IsPseudoModel(*poly))
        {
            name = "Pseudo ";
            withNumbers = false;
        }
        name += !IsBlank(poly->GetDualName()) ? poly->mDualName : LibraryEntry::GetDualFirstName(entry);
        if (withSymbol)
        {
            name += " (Dual of " + LibraryEntry::GetSymbol(entry) + ")";
            if (withNumbers && entry->mPage2 >= 0)
            {
                char numbers[64];
                std::snprintf(numbers, sizeof numbers, ", WD%d, p%d", entry->mNumber, entry->mPage2);
                name += numbers;
            }
        }
        return name;
    }
    std::string name;
    if (!IsBlank(poly->GetDualName()))
        name = poly->mDualName;
    else if (!IsBlank(poly->GetBaseName()))
        name = "Dual of " + poly->mBaseName;
    else if (entry)
    {
        const std::string dualName = LibraryEntry::GetDualFirstName(entry);
        name = dualName.empty() ? std::string("Dual of ") + (entry->mName ? entry->mName : "") : dualName;
    }
    else if (DocumentPath().empty())
        name = "Unnamed Dual";
    else
        name = "Dual of " + FileTitle(DocumentPath());
    if (withSymbol)
    {
        const std::string symbol = poly->GetName();
        if (!symbol.empty())
            name += " (Dual of " + symbol + ")";
    }
    return name;
}

std::string CPolyView::GetShownModelName(bool withSymbol, bool withNumbers) const
{
    bool dual = false;
    if (!GetShownSide(dual))
        return "<Unknown>";
    return dual ? GetDualName(withSymbol, withNumbers) : GetModelName(withSymbol, withNumbers);
}

std::string CPolyView::GetStellationName() const
{
    bool dual = false;
    if (!GetShownSide(dual) || !GetCurrentPoly())
        return "<Unknown>";
    if (Stellation::IsOriginal(GetStellation()))
        return GetShownModelName(true, true);
    return "Stellation of " + GetShownModelName(true, false);
}

std::string CPolyView::GetExportTitle() const
{
    switch (mViewType)
    {
    case kViewTypeFacetPreview:
        return "A faceted polyhedron";
    case kViewTypePolyAndDual:
        return "Dual compound of " + GetModelName(true, true);
    case kViewTypePoly:
    case kViewTypeDual:
    case kViewTypeFacetDiagram:
    case kViewTypeFace:
        return GetShownModelName(true, true);
    case kViewTypeUniStellation:
    case kViewTypeDualStellation:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
    case kViewTypeCellDiagram:
    case kViewTypeNet3D:
    case kViewTypeNet2D:
        return GetStellationName();
    case kViewTypeCompound:
        return "Compound of " + GetShownModelName(true, true);
    case kViewTypeSlice:
        return "Cross-Section of " + GetShownModelName(true, true);
    default:
        if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
            return "Dual-morph of " + GetModelName(true, true);
        return "<Unknown>";
    }
}

std::string CPolyView::GetViewName() const
{
    if (mViewType == kViewTypePolyAndDual || ViewTypeHasAll(mViewType, kViewFamilyMorph))
        return GetViewTypeName(mViewType);
    const char* prefix = GetViewTitlePrefix(mViewType, IsModel4D(GetCurrentPoly()));
    if (!prefix)
    {
        InternalError("Illegal view type in GetViewName (0x%x).", unsigned(mViewType));
        return GetModelName(false, true);
    }
    // A title longer than the caption can hold is cut.
    constexpr size_t kMaxTitle = 207;
    std::string title = prefix + GetShownModelName(false, true);
    if (title.size() > kMaxTitle)
        title.resize(kMaxTitle);
    return title;
}

void CPolyView::UpdateTitle()
{
    SetTitle(GetViewName());
}

const char* CPolyView::GetPlaceholderText() const
{
    if (ViewTypeHasAll(mViewType, kViewFamilyNet))
    {
        // The panes make the nets of their side; a 4D polytope's nets of cells are not made yet.
        const Poly* poly = GetCurrentPoly();
        if (!poly || (poly->mFlags & Poly::kIs4D))
            return "No nets.";
        const Model3D* mesh = GetStellationModel3D(true);
        return Model3D::HasNets(mesh) && mesh->mNetTypes ? "" : "No nets.";
    }
    if (mViewType == kViewTypeMorphViaSnub)
        return "";
    const bool drawsModel = mViewType == kViewTypePoly || mViewType == kViewTypeDual || mViewType == kViewTypePolyAndDual ||
                            mViewType == kViewTypeUniStellation || mViewType == kViewTypeDualStellation ||
                            mViewType == kViewTypeCompound || mViewType == kViewTypeFacetPreview;
    if (drawsModel)
        return "";
    // The 4D face view is drawn in 3D, which comes with the 4D panes.
    if (DrawsDiagram(mViewType) && !IsModel4D(GetCurrentPoly()))
        return "";
    if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
        return "Dual morphs are not available yet.";
    if (ViewTypeHasAll(mViewType, kViewFamilyDiagram))
        return "This diagram is not available yet.";
    if (mViewType < 0)
        return "";
    return "This view is not available yet.";
}

bool ViewModelNames(NewView* view, std::string& name, std::string& dualName)
{
    const auto* pane = dynamic_cast<const CPolyView*>(view ? view : NewView::GetActiveView());
    if (!pane)
        return false;
    name = pane->GetModelName(false, false);
    dualName = pane->GetDualName(false, false);
    return true;
}
