#include "view/PolyView.h"

#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Stellation.h"
#include "view/PolyCaptionWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
int gFitSuspensions = 0;

bool IsCurrentModel4D()
{
    const Poly* poly = GetCurrentPoly();
    return poly && (poly->mFlags & Poly::kIs4D);
}

// The file name without folders and extension, each ';' shown as '/'.
std::string FileTitle(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    std::replace(name.begin(), name.end(), ';', '/');
    return name;
}

std::string DocumentPath()
{
    const CPolyDoc* doc = CPolyApp::GetDocument();
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
}  // namespace

CPolyView::CPolyView(wxWindow* parent, wxWindowID id) : OpenGLView(parent, id)
{
    SetViewType(kViewTypePoly, false);
}

CPolyView::~CPolyView() = default;

CaptionWnd* CPolyView::CreateCaptionWnd()
{
    return new PolyCaptionWnd(this);
}

void CPolyView::SetViewType(int code, bool keep)
{
    const int previous = mViewType;
    mViewType = code;
    const bool model4D = IsCurrentModel4D();
    SetDepthMode(ViewTypeHasAll(code, kViewFamily3D) || (model4D && ViewTypeHasAll(code, kViewFamily4D)));
    if (keep)
        return;
    StopThrowsOnTypeChange(previous, code);
    if (previous != code)
    {
        StopZoomThrow();
        StopRotationThrows(true);
    }
    UpdateTitle();
    if (PolyCaptionWnd* caption = dynamic_cast<PolyCaptionWnd*>(GetCaptionWnd()))
        caption->DefineTitleButtons();
    RequestFit(1);
    NewView::InvalidateCaption(this);
}

bool CPolyView::GetShownSide(bool& dual) const
{
    if (ViewTypeHasAll(mViewType, kViewFamilyBaseOnly))
    {
        dual = false;
        return true;
    }
    if (ViewTypeHasAll(mViewType, kViewFamilyDualOnly))
    {
        dual = true;
        return true;
    }
    if (ViewTypeHasAll(mViewType, kViewFamilyFollowsSide))
    {
        const Poly* poly = GetCurrentPoly();
        dual = poly && poly->mShowDual;
        return true;
    }
    dual = false;
    return false;
}

bool CPolyView::ShowsDual() const
{
    bool dual = false;
    if (GetShownSide(dual))
        return dual;
    const Poly* poly = GetCurrentPoly();
    return poly && poly->mShowDual;
}

void CPolyView::RequestFit(int mode)
{
    if (FitSuspendScope::Active())
        return;
    mPendingFit = mode;
    NewView::Invalidate(this, true);
}

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
        name = !IsBlank(poly->GetBaseName()) ? poly->mBaseName : std::string(entry->mName ? entry->mName : "");
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
        std::string name = !IsBlank(poly->GetDualName()) ? poly->mDualName : LibraryEntry::GetDualFirstName(entry);
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
    const bool single = GetShownSide(dual);
    Poly* poly = GetCurrentPoly();
    const Stellation* stellation =
        poly && single ? (dual ? poly->GetVertStellation() : poly->GetFaceStellation()) : nullptr;
    if (!single || !poly)
        return "<Unknown>";
    if (Stellation::IsOriginal(stellation))
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
    const bool model4D = IsCurrentModel4D();
    if (mViewType == kViewTypePolyAndDual || ViewTypeHasAll(mViewType, kViewFamilyMorph))
        return GetViewTypeName(mViewType);
    const char* prefix = GetViewTitlePrefix(mViewType, model4D);
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
        return "No nets.";
    if (mViewType == kViewTypeMorphViaSnub)
        return "";
    const bool drawsModel = mViewType == kViewTypePoly || mViewType == kViewTypeDual || mViewType == kViewTypePolyAndDual;
    if (drawsModel)
        return "";
    if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
        return "Dual morphs are not available yet.";
    if (ViewTypeHasAll(mViewType, kViewFamilyDiagram))
        return "This diagram is not available yet.";
    if (mViewType < 0)
        return "";
    return "This view is not available yet.";
}

double CPolyView::GetViewRadius(int withMargin) const
{
    Poly* poly = GetCurrentPoly();
    double radius = 1.0;
    if (poly)
        switch (mViewType)
        {
        case kViewTypePoly:
            radius = 1.0;
            break;
        case kViewTypeDual:
            radius = poly->GetRadius();
            break;
        case kViewTypePolyAndDual:
            radius = std::max(1.0, poly->GetRadius());
            break;
        case kViewTypeFacetPreview:
            radius = poly->mShowDual ? poly->GetRadius() : 1.0;
            break;
        case kViewTypeNet3D:
            radius = 2.0;
            break;
        default:
            if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
                radius = std::max(1.0, poly->GetRadius());
            break;
        }
    if (radius < kTol)
        return 1.0;
    // Vertex markers as points need no margin; spheres come with their materials.
    (void)withMargin;
    return radius;
}

int CPolyView::PushBlendMode(int mode)
{
    ++mBlendDepth;
    return SetBlendMode(mode);
}

int CPolyView::PopBlendMode(int mode)
{
    SetBlendMode(mode);
    if (mBlendDepth > 0)
        --mBlendDepth;
    return mBlendDepth;
}

const char* GetViewTypeName(int code)
{
    const char* name = GetViewTypeName(code, IsCurrentModel4D());
    if (name)
        return name;
    InternalError("Illegal view type in GetViewTypeName (0x%x).", unsigned(code));
    return "Unknown view type";
}

float PolygonOffsetUnitsAt(double distance, bool orthogonal, double depthFactor)
{
    double units = 10.0;
    if (!orthogonal)
    {
        const double d = std::max(distance, 1e-7);
        double logUnits;
        if (d < 4.5)
            logUnits = std::log(8000.0) +
                       (std::log(d) - std::log(1.2)) * (std::log(200.0) - std::log(8000.0)) / (std::log(4.5) - std::log(1.2));
        else
            logUnits = std::log(200.0) +
                       (std::log(d) - std::log(4.5)) * (std::log(6.0) - std::log(200.0)) / (std::log(75.0) - std::log(4.5));
        units = std::exp(logUnits);
    }
    units = std::pow(units, depthFactor);
    return float(std::max(units, 1.0));
}

CPolyView* FindViewOfType(int a, int b)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            if (view->GetViewType() == a || view->GetViewType() == b)
                return view;
    return nullptr;
}

void InvalidateViewsOfType(int mask, bool keepMessage)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            if (ViewTypeHasAll(view->GetViewType(), mask))
                NewView::Invalidate(view, keepMessage);
}

void RequestFitAllViews(int mode)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            view->RequestFit(mode);
}

void RequestFitViewsOfType(int mask)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            if (ViewTypeHasAll(view->GetViewType(), mask))
                view->RequestFit(1);
}

void UpdateAllViewTitles()
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            view->UpdateTitle();
}

void UpdateAllViewButtons()
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* caption = dynamic_cast<PolyCaptionWnd*>(v->GetCaptionWnd()))
            caption->DefineTitleButtons();
}

FitSuspendScope::FitSuspendScope()
{
    ++gFitSuspensions;
}

FitSuspendScope::~FitSuspendScope()
{
    --gFitSuspensions;
}

bool FitSuspendScope::Active()
{
    return gFitSuspensions > 0;
}
