// Building the model of a library row: the dispatch between the ways a row's geometry is made.

#include "model/Poly.h"

#include "kernel/Messages.h"
#include "library/LibraryEntry.h"
#include "library/LibraryVertexFigure.h"
#include "model/CreatePoly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/TemplateMatching.h"
#include "operations/ParametricSolids.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/VertexFigurePolychoron.h"

#include <cstring>
#include <memory>
#include <string>

namespace
{
// Rows whose way of being built this version lacks: the user learns why, the model stays as it was.
bool ReportNotBuildable(const LibraryEntry& entry, const char* reason)
{
    ErrorMessage("\"%s\" cannot be built yet: %s are not available in this version.", entry.mName ? entry.mName : "",
                 reason);
    return false;
}
}  // namespace

bool Poly::CreateFromLibraryEntry(PolyTemplate* templ, const LibraryEntry* entry, bool stepwise)
{
    if (!entry || !entry->mSymbol)
        return false;
    if (entry->mFlags & LibraryEntry::kSpringBuilt)
    {
        if (!LibraryEntry::HasSpringData(entry))
            return ReportNotBuildable(*entry, "the coordinates of this model");
        std::unique_ptr<SimplePoly> simplePoly = entry->CreateSpringPoly(nullptr);
        // As for the prisms below: the network gives no colours, the scheme does.
        if (!simplePoly || !::CreatePoly(simplePoly.get(), this, false, false))
            return false;
        SetFromLibraryEntry(entry);
        return true;
    }
    if (entry->mCategory == LibraryEntry::kCategory4D)
    {
        std::string faceDesc;
        std::unique_ptr<SimplePoly> figure = CreateLibraryVertexFigure(*entry, faceDesc);
        if (!figure)
            return false;
        std::unique_ptr<Polytope4D> polytope;
        {
            auto scratch = std::make_unique<Poly>();
            if (::CreatePoly(figure.get(), scratch.get(), true, false))
            {
                figure.reset();
                polytope = CreatePolychoronFromVertexFigure(scratch.get(), faceDesc.c_str(),
                                                            kPolychoronUseNameHint | kPolychoronNoteNameHint);
            }
        }
        if (!polytope)
            return false;
        SetPolytope4D(std::move(polytope), kKeepColors);
        SetFromLibraryEntry(entry);
        return true;
    }
    if (entry->mCategory == LibraryEntry::kCategoryPrisms)
    {
        int n = 0;
        int d = 0;
        entry->GetParams(n, d);
        const size_t length = std::strlen(entry->mSymbol);
        const bool prism = length > 0 && entry->mSymbol[length - 1] == '4';
        std::unique_ptr<SimplePoly> simplePoly = prism ? CreatePrism(n, d) : CreateAntiprism(n, d);
        if (!simplePoly)
            return false;
        // The builders give no colours of their own: the faces take the scheme's, as every other row's.
        if (!::CreatePoly(simplePoly.get(), this, false, true))
            return false;
        // Known by its row, as a model matched from a configuration is.
        SetFromLibraryEntry(entry);
        return true;
    }
    if (!templ || !templ->Parse(LibraryEntry::GetSymbol(entry).c_str()))
        return false;
    // A matching that fails is a failed build, not a half-made model reported as made.
    if (stepwise)
        return Prepare(*this, templ, 0);
    return PrepareFromTemplate(templ, 0);
}
