#include "kernel/AskQuestion.h"
#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <vector>

namespace
{
// How many faces hold the edge between a and b (k; a face holding it twice counts twice, f itself
// included) and how many of those lie in f's plane, facing either way (c). Reads a's face list.
void CountFacesAtEdge(const SimpleFace& f, SimpleVert& a, const SimpleVert& b, bool countCoplanar, int& k, int& c)
{
    k = 0;
    c = 0;
    for (int i = 0; i < a.mNum; ++i)
    {
        SimpleFace* g = a.GetFace(i);
        if (!g || (g->mFlags & (SimpleElem::kTemp | SimpleElem::kDone)))
            continue;
        g->mFlags |= SimpleElem::kDone;
        for (int j = 0; j < g->mNum; ++j)
        {
            if (g->mList[j] != &a)
                continue;
            const SimpleElem* before = g->mList[(j + g->mNum - 1) % g->mNum];
            const SimpleElem* after = g->mList[(j + 1) % g->mNum];
            if (before != &b && after != &b)
                continue;
            ++k;
            if (countCoplanar && (Vec3Equal(g->mNormal, f.mNormal, kTol) || Vec3EqualNeg(g->mNormal, f.mNormal, kTol)))
                ++c;
        }
    }
    for (int i = 0; i < a.mNum; ++i)
    {
        if (a.mList[i])
            a.mList[i]->mFlags &= ~SimpleElem::kDone;
    }
}

// Asks whether to replace the faces by the hull of the vertices; true when the user chose the hull.
bool OfferHull(const char* text)
{
    return AskQuestion(0, "Error", {"+Create convex hull instead", "-Cancel"}, "%s", text) == 0;
}
}  // namespace

bool SimplePoly::CheckValidity(SimplePoly* poly, uint32_t flags)
{
    if (!poly)
    {
        ErrorMessage("Invalid model: there are no faces or vertices.");
        return false;
    }
    poly->CreateVertexFaceLists(false);

    const char* error = nullptr;
    int maxFaces = 0;
    int maxCoplanar = 0;
    if (poly->mNumFaces < 1)
        error = "Invalid model: there are no faces.";
    else
    {
        bool odd = false;
        const bool countCoplanar = !(flags & kValidityNoCoplanarCount);
        for (int fi = 0; fi < poly->mNumFaces; ++fi)
        {
            const SimpleFace& f = poly->mFaces[fi];
            if (f.mFlags & SimpleElem::kTemp)
                continue;
            for (int j = 0; j < f.mNum; ++j)
            {
                SimpleVert* a = f.GetVert(j);
                const SimpleVert* b = f.GetVert((j + 1) % f.mNum);
                if (!a || !b)
                    continue;
                int k, c;
                CountFacesAtEdge(f, *a, *b, countCoplanar, k, c);
                if (k & 1)
                {
                    odd = true;
                    DebugTrace("%d faces around edge between vertices %d and %d\n", k, a->GetIndex(), b->GetIndex());
                }
                maxFaces = std::max(maxFaces, k);
                maxCoplanar = std::max(maxCoplanar, c);
            }
        }
        if (maxFaces == 0)
            error = "Invalid model: there are no faces.";
        else if (odd)
            error = "Invalid model: an odd number of faces meet at some edges.\nFaces must meet in pairs.";
    }

    if (error)
    {
        if (!(flags & kValidityOfferHull))
        {
            ErrorMessage("%s", error);
            return false;
        }
        if (!OfferHull(error))
            return false;
        poly->DropEdges();
        poly->AllocateFaces(0);
        poly->mFlags &= ~kHasVertFaceLists;
        for (int i = 0; i < poly->mNumVerts; ++i)
        {
            SimpleVert& v = poly->mVerts[i];
            v.mList.reset();  // it pointed at the faces just freed
            v.mNum = 0;
            v.mFlags &= ~SimpleElem::kTemp;
        }
        if (!poly->ComputeConvexHull(0))
            return false;
        poly->CleanFaces();
        return true;
    }

    if (maxCoplanar > 1 && !(flags & (kValidityNoCoplanarCount | kValidityNoCoplanarWarning)) &&
        !AskOkCancel("WARNING: coplanar faces meet at some edges.\nThis is usually undesirable.\n\n"
                     "Would you like to create the model anyway?"))
        return false;
    if (maxFaces > 2 && !(flags & kValidityNoCoplanarCount) &&
        !AskOkCancel("WARNING: more than two faces meet at some edges.\nTraversal of faces at edges is therefore "
                     "ambiguous.\nThis is usually undesirable.\n\nWould you like to create the model anyway?"))
        return false;
    return true;
}

bool CheckTemporaryVerts(const SimplePoly* poly)
{
    if (!poly)
        return true;
    bool ok = true;
    for (int fi = 0; fi < poly->mNumFaces; ++fi)
    {
        const SimpleFace& f = poly->mFaces[fi];
        if (f.mFlags & SimpleElem::kTemp)
            continue;
        for (int k = 0; k < f.mNum; ++k)
        {
            if (f.mList[k] && (f.mList[k]->mFlags & SimpleElem::kTemp))
                ok = false;
        }
    }
    return ok;
}

void SimplePoly::DrawEdgeCheck(double explode, double scale)
{
    CreateVertexFaceLists(false);
    SceneDrawer& drawer = CurrentSceneDrawer();
    const RenderSettings& settings = GetRenderSettings();
    const bool stereo = (settings.renderFlags & RenderSettings::kStereoGlasses) != 0;

    std::vector<Vec3D> ends;
    std::vector<float> colors;  // RGBA per line
    for (int fi = 0; fi < mNumFaces; ++fi)
    {
        const SimpleFace& f = mFaces[fi];
        if (f.mFlags & SimpleElem::kTemp)
            continue;
        Vec3D offset;
        if (explode != 1.0 && f.mNum > 0 && f.mList[0])
            Vec3Scale(offset, f.mNormal, (explode - 1.0) * Vec3Dot(f.mNormal, f.GetVert(0)->mPos));
        for (int j = 0; j < f.mNum; ++j)
        {
            SimpleVert* a = f.GetVert(j);
            const SimpleVert* b = f.GetVert((j + 1) % f.mNum);
            if (!a || !b)
                continue;
            int k, c;
            CountFacesAtEdge(f, *a, *b, true, k, c);
            if (k == 2 && c != 2)
                continue;
            // With no explosion every face at the edge draws the same line.
            const float alpha = explode == 1.0 ? 0.2f / float(k) : 0.2f;
            float rgb[3] = {1.0f, 1.0f, 1.0f};
            if (!stereo)
            {
                // Green for a lone face, orange for other odd counts, purple for coplanar pairs,
                // red for even crowds.
                static const float kColors[4][3] = {{0.5f, 1.0f, 0.5f}, {1.0f, 0.7f, 0.2f}, {0.5f, 0.0f, 1.0f},
                                                    {1.0f, 0.2f, 0.2f}};
                static const uint32_t kKinds[4] = {kDrewSingleEdges, kDrewOddEdges, kDrewCoplanarEdges,
                                                   kDrewEvenEdges};
                const int which = k == 1 ? 0 : (k & 1) ? 1 : k == 2 ? 2 : 3;
                std::copy(kColors[which], kColors[which] + 3, rgb);
                mFlags |= kKinds[which];
            }
            Vec3D from, to;
            Vec3Add(from, a->mPos, offset);
            Vec3Add(to, b->mPos, offset);
            Vec3Scale(from, from, scale);
            Vec3Scale(to, to, scale);
            ends.push_back(from);
            ends.push_back(to);
            colors.insert(colors.end(), {rgb[0], rgb[1], rgb[2], alpha});
        }
    }

    const bool lit = drawer.SetLighting(false);
    const float width = drawer.SetLineWidth((settings.edgeWidth + 2.0f) * drawer.LineScale());
    drawer.DrawLines(ends.data(), colors.data(), int(colors.size() / 4));
    drawer.SetLineWidth(width);
    drawer.SetLighting(lit);
}
