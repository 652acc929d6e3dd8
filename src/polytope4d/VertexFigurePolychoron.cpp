#include "polytope4d/VertexFigurePolychoron.h"

#include "kernel/AskQuestion.h"
#include "kernel/IntMath.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/VertexFigureGrowth.h"
#include "polytope4d/VertexFigureTemplate.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <set>
#include <string>

namespace
{
struct PolygonRow
{
    int n;
    int d;
};
// The regular polygons a figure's shortest edges are tried as, in the order they are offered.
constexpr PolygonRow kPolygons[] = {{5, 2}, {8, 3}, {3, 1}, {10, 3}, {4, 1}, {5, 1}, {6, 1}, {8, 1}, {10, 1}};

constexpr int kMaxVerts = 14400;
constexpr int kMaxLabel = 64;

bool IsTableRow(int n, int d)
{
    for (const PolygonRow& row : kPolygons)
    {
        if (row.n == n && row.d == d)
            return true;
    }
    return false;
}

// Squared height of the polytope's vertex above its figure when edges of squared length b are
// {n/d} polygons.
double HeightSq(double b, double radiusSq, int n, int d)
{
    const double u = 2.0 * std::cos(std::numbers::pi * d / n);
    return b * (1.0 / (u * u) - 0.25) - (radiusSq - b / 4.0);
}

bool ParseNameHint(const char* name, int& n, int& d)
{
    if (!name)
        return false;
    for (const char* s = std::strchr(name, '('); s; s = std::strchr(s + 1, '('))
    {
        if (!std::isdigit(static_cast<unsigned char>(s[1])))
            continue;
        char* end = nullptr;
        n = int(std::strtol(s + 1, &end, 10));
        d = 1;
        if (*end == '-' || *end == ';')
            d = int(std::strtol(end + 1, nullptr, 10));
        return n > 0 && d > 0;
    }
    return false;
}

// The sphere through every point: least squares from the first point, then checked.
bool Circumcentre(const std::vector<Vec3D>& points, Vec3D& centre, double& radiusSq)
{
    if (points.size() <= 3)
        return false;
    double m[3][3] = {};
    double r[3] = {};
    const Vec3D& p0 = points[0];
    for (const Vec3D& p : points)
    {
        const double row[3] = {2.0 * (p.x - p0.x), 2.0 * (p.y - p0.y), 2.0 * (p.z - p0.z)};
        const double rhs = Vec3LengthSq(p) - Vec3LengthSq(p0);
        for (int i = 0; i < 3; ++i)
        {
            for (int j = 0; j < 3; ++j)
                m[i][j] += row[i] * row[j];
            r[i] += row[i] * rhs;
        }
    }
    const auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double dm = det(m);
    if (std::fabs(dm) < 1e-12)
        return false;
    for (int k = 0; k < 3; ++k)
    {
        double mk[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                mk[i][j] = j == k ? r[i] : m[i][j];
        centre[k] = det(mk) / dm;
    }
    Vec3D d;
    Vec3Sub(d, p0, centre);
    radiusSq = Vec3LengthSq(d);
    for (const Vec3D& p : points)
    {
        Vec3Sub(d, p, centre);
        if (!WithinTol(Vec3LengthSq(d), radiusSq, kTol))
            return false;
    }
    return true;
}

void AppendPolygon(std::string& text, int n, int d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, d != 1 ? "%d/%d" : "%d", n, d);
    text += buffer;
}

// The options of face polygons: one label per set, the polygons of the lengths in ascending order.
std::vector<std::string> FindOptions(const std::vector<double>& lengths, double radiusSq, bool singleQuadType,
                                     bool firstFaceSquare, bool hinted, int hintN, int hintD)
{
    std::vector<std::string> options;
    const auto keyChar = [](int n, int d) { return d == 2 && n == 5 ? '2' : std::to_string(n)[0]; };
    if (lengths.size() == 1)
    {
        for (const PolygonRow& row : kPolygons)
        {
            if (row.n >= 6 || (row.n == 4 && row.d == 1 && singleQuadType) || (row.n == 5 && row.d == 2 && firstFaceSquare))
                continue;
            if (HeightSq(lengths[0], radiusSq, row.n, row.d) <= kTol)
                continue;
            if (hinted && (row.n != hintN || row.d != hintD))
                continue;
            std::string text = row.n == 3 && row.d == 1 ? "/+=" : "/=";
            text += keyChar(row.n, row.d);
            AppendPolygon(text, row.n, row.d);
            options.push_back(text);
        }
        return options;
    }
    std::vector<PolygonRow> bases(std::begin(kPolygons), std::end(kPolygons));
    if (hinted)
        bases = {{hintN, hintD}};
    for (size_t j = 0; j < lengths.size(); ++j)
        for (const PolygonRow& row : bases)
        {
            if (HeightSq(lengths[j], radiusSq, row.n, row.d) < kTol)
                continue;
            const double u = 2.0 * std::cos(std::numbers::pi * row.d / row.n);
            std::vector<PolygonRow> polygons;
            bool ok = true;
            for (size_t k = 0; k < lengths.size() && ok; ++k)
            {
                const double c = std::sqrt(lengths[k] / lengths[j]) * u / 2.0;
                int n = 0;
                int d = 1;
                if (k != j && c > 0.9999999)
                    ok = false;
                else if (!ToFraction(std::numbers::pi / std::acos(std::min(c, 1.0)), n, d, kTol) || n < 3)
                    ok = false;
                // Found from the shorter base already.
                else if (k < j && IsTableRow(n, d))
                    ok = false;
                polygons.push_back({n, d});
            }
            if (!ok || (hinted && (polygons[0].n != hintN || polygons[0].d != hintD)))
                continue;
            std::string text = row.n == 3 && row.d == 1 ? "/+=" : "/=";
            text += keyChar(row.n, row.d);
            for (size_t k = 0; k < polygons.size(); ++k)
            {
                if (text.size() > size_t(kMaxLabel))
                {
                    text += ", ...";
                    break;
                }
                if (k > 0)
                    text += ", ";
                AppendPolygon(text, polygons[k].n, polygons[k].d);
            }
            options.push_back(text);
        }
    return options;
}
// Kinds of the figure's vertices and faces that no symmetry of the figure can tell apart: colours
// refined from the edge lengths around each (the figure's own types need not be set, and would keep
// mirror images apart).
void SetFigureKinds(VertexFigureTemplate& templ, const std::vector<double>& lengths)
{
    const auto lengthIndex = [&](double b) {
        for (size_t i = 0; i < lengths.size(); ++i)
        {
            if (WithinTol(lengths[i], b, kTol))
                return int(i);
        }
        return -1;
    };
    const auto renumber = [](std::vector<std::vector<int>>& keys, auto assign) {
        std::vector<std::vector<int>> sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (size_t i = 0; i < keys.size(); ++i)
            assign(i, int(std::lower_bound(sorted.begin(), sorted.end(), keys[i]) - sorted.begin()));
    };
    const auto vertIndex = [&](const TemplateVertex* v) { return size_t(v - templ.mVerts.data()); };
    std::vector<int> colours(templ.mVerts.size(), 0);
    for (size_t round = 0; round <= templ.mVerts.size(); ++round)
    {
        std::vector<std::vector<int>> keys(templ.mVerts.size());
        for (size_t i = 0; i < templ.mVerts.size(); ++i)
        {
            std::vector<int> around;
            for (const TemplateEdge* e : templ.mVerts[i].mEdges)
                around.push_back(lengthIndex(e->mLengthSq) * 100000 + colours[vertIndex(e->GetOtherEnd(&templ.mVerts[i]))]);
            std::sort(around.begin(), around.end());
            keys[i] = {colours[i]};
            keys[i].insert(keys[i].end(), around.begin(), around.end());
        }
        std::vector<int> next(colours.size());
        renumber(keys, [&](size_t i, int c) { next[i] = c; });
        const bool stable = std::set<int>(next.begin(), next.end()).size() == std::set<int>(colours.begin(), colours.end()).size();
        colours = std::move(next);
        if (stable && round > 0)
            break;
    }
    for (size_t i = 0; i < templ.mVerts.size(); ++i)
        templ.mVerts[i].mType = colours[i];
    std::vector<std::vector<int>> faceKeys(templ.mFaces.size());
    for (size_t i = 0; i < templ.mFaces.size(); ++i)
    {
        for (const TemplateEdge* e : templ.mFaces[i].mEdges)
        {
            const int a = colours[vertIndex(e->mEnds[0])];
            const int b = colours[vertIndex(e->mEnds[1])];
            faceKeys[i].push_back((lengthIndex(e->mLengthSq) * 1000 + std::min(a, b)) * 1000 + std::max(a, b));
        }
        std::sort(faceKeys[i].begin(), faceKeys[i].end());
    }
    renumber(faceKeys, [&](size_t i, int c) { templ.mFaces[i].mType = c; });
}
}  // namespace

bool ToFraction(double x, int& n, int& d, double tol)
{
    const double nearest = std::round(x);
    if (std::fabs(x - nearest) <= tol)
    {
        n = int(nearest);
        d = 1;
        return true;
    }
    constexpr int kFactor = 840;  // every denominator up to 8 divides it
    const double scaled = x * kFactor;
    const double m = std::round(scaled);
    if (std::fabs(scaled - m) > tol || std::fabs(m) > double(INT_MAX))
        return false;
    const int g = Gcd(std::abs(int(m)), kFactor);
    n = int(m) / g;
    d = kFactor / g;
    return true;
}

bool CompareSquaredLengths(double a, double b)
{
    return a < b;
}

int AssignFaceClasses(std::vector<TemplateEdge>& edges)
{
    struct ClassKey
    {
        double lengthSq;
        int ends[2];
        int faces[2];
    };
    std::vector<ClassKey> classes;
    for (TemplateEdge& edge : edges)
    {
        if (edge.mEnds[0] && edge.mEnds[1] && edge.mEnds[1]->mType < edge.mEnds[0]->mType)
            std::swap(edge.mEnds[0], edge.mEnds[1]);
        if (edge.mFaces[0] && edge.mFaces[1] && edge.mFaces[1]->mType < edge.mFaces[0]->mType)
            std::swap(edge.mFaces[0], edge.mFaces[1]);
        const ClassKey key{edge.mLengthSq,
                           {edge.mEnds[0] ? edge.mEnds[0]->mType : -1, edge.mEnds[1] ? edge.mEnds[1]->mType : -1},
                           {edge.mFaces[0] ? edge.mFaces[0]->mType : -1, edge.mFaces[1] ? edge.mFaces[1]->mType : -1}};
        int found = -1;
        for (size_t c = 0; c < classes.size() && found < 0; ++c)
        {
            const ClassKey& k = classes[c];
            if (WithinTol(k.lengthSq, key.lengthSq, kTol) && k.ends[0] == key.ends[0] && k.ends[1] == key.ends[1] &&
                k.faces[0] == key.faces[0] && k.faces[1] == key.faces[1])
                found = int(c);
        }
        if (found < 0)
        {
            found = int(classes.size());
            classes.push_back(key);
        }
        edge.mClass = found;
        // Bits 7 to 31 of the face flags: 25 classes; beyond, the number alone tells them apart.
        edge.mClassBit = found < 25 ? (uint32_t(0x80) << found) : 0;
    }
    return int(classes.size());
}

std::unique_ptr<Polytope4D> CreatePolychoronFromVertexFigure(Poly* figure, const char* name, int options)
{
    if (!figure)
        return nullptr;
    TraceScope trace("CreateUniform");
    ScopedWaitCursor wait;
    ElemList* faceList = nullptr;
    ElemList* vertList = nullptr;
    figure->GetSideLists(figure->mShowDual, &faceList, &vertList, nullptr, nullptr);
    if (!faceList || !vertList)
        return nullptr;
    std::vector<Vec3D> points;
    bool atInfinity = false;
    for (const FaceVert* v = vertList->mFirst; v; v = v->mNext)
    {
        atInfinity = atInfinity || (v->mFlags & FaceVert::kHemi);
        points.push_back(v->mPoint);
    }
    if (atInfinity)
        points.clear();
    Vec3D centre;
    double radiusSq = 0.0;
    if (!Circumcentre(points, centre, radiusSq))
    {
        ErrorMessage("Model does not have a circumcentre,\nso it can't be used as a vertex figure.");
        return nullptr;
    }
    for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
        for (int i = 0; i < f->mNumSides; ++i)
            for (int j = i + 1; j < f->mNumSides; ++j)
            {
                if (f->mNeighbours[size_t(i)] == f->mNeighbours[size_t(j)])
                {
                    ErrorMessage("Vertex figures with faces that visit the same\nvertex more than once are not "
                                 "supported.");
                    return nullptr;
                }
            }

    VertexFigureTemplate templ;
    if (!templ.Build(faceList, vertList) || templ.mEdges.empty())
    {
        ErrorMessage("It does not appear possible to use this polyhedron\nas a vertex figure for a 4D polytope.");
        return nullptr;
    }
    // The figure is used about its circumcentre; the model itself is left where it is.
    for (TemplateVertex& v : templ.mVerts)
    {
        Vec3Sub(v.mPos, v.mPos, centre);
        Vec3SnapZero(v.mPos, kTol);
    }
    std::vector<double> lengths;
    for (TemplateEdge& e : templ.mEdges)
    {
        Vec3D d;
        Vec3Sub(d, e.mEnds[0]->mPos, e.mEnds[1]->mPos);
        e.mLengthSq = Vec3LengthSq(d);
        bool known = false;
        for (const double b : lengths)
            known = known || WithinTol(b, e.mLengthSq, kTol);
        if (!known)
            lengths.push_back(e.mLengthSq);
    }
    std::sort(lengths.begin(), lengths.end(), CompareSquaredLengths);

    bool singleQuadType = true;
    for (const TemplateFace& f : templ.mFaces)
    {
        if (f.mType != templ.mFaces[0].mType || f.mFace->mNumSides != templ.mFaces[0].mFace->mNumSides ||
            f.mFace->mNumSides < 4)
            singleQuadType = false;
    }
    const bool firstFaceSquare = !templ.mFaces.empty() && templ.mFaces[0].mFace->mNumSides == 4;
    int hintN = 0;
    int hintD = 1;
    const bool hinted = (options & kPolychoronUseNameHint) && ParseNameHint(name, hintN, hintD);
    std::vector<std::string> labels =
        FindOptions(lengths, radiusSq, singleQuadType, firstFaceSquare, hinted, hintN, hintD);
    if (labels.empty())
    {
        ErrorMessage("It does not appear possible to use this polyhedron\nas a vertex figure for a 4D polytope.");
        return nullptr;
    }
    std::string chosen = labels[0];
    if (labels.size() > 1)
    {
        labels.push_back("/-Cancel");
        std::vector<const char*> texts;
        for (const std::string& label : labels)
            texts.push_back(label.c_str());
        const int answer =
            AskQuestionList(0, "Multiple vertex figure matches", int(texts.size()), texts.data(),
                            "More than one set of faces seems possible for this\nvertex figure.  Choose from the "
                            "following sets:");
        if (answer < 0 || answer >= int(labels.size()) - 1)
            return nullptr;
        chosen = labels[size_t(answer)];
    }
    // Past the key character: the polygon of the shortest edges.
    const size_t eq = chosen.find('=');
    const char* s = chosen.c_str() + (eq == std::string::npos ? chosen.size() : eq + 2);
    char* end = nullptr;
    const int n0 = int(std::strtol(s, &end, 10));
    const int d0 = *end == '/' ? int(std::strtol(end + 1, nullptr, 10)) : 1;
    if (n0 < 3 || d0 < 1)
        return nullptr;

    const double b0 = lengths[0];
    const double u = 2.0 * std::cos(std::numbers::pi * d0 / n0);
    const double h2 = HeightSq(b0, radiusSq, n0, d0);
    if (h2 < -kTol)
    {
        ErrorMessage("Face angles too big for faces to fit around vertex.");
        return nullptr;
    }
    if (h2 <= kTol)
    {
        ErrorMessage("Faces around vertex would all lie in one hyperplane.\nThat is, vertex figure is flat, like 4 "
                     "squares around a vertex in 3D");
        return nullptr;
    }
    const double h = std::sqrt(h2);
    const double edgeLength = std::sqrt(h2 + radiusSq);
    const double rho = (h2 + radiusSq) / (2.0 * h);
    double w0 = rho - h;
    if (std::fabs(w0) <= kTol)
        w0 = 0.0;
    for (TemplateEdge& e : templ.mEdges)
    {
        const double c = std::sqrt(e.mLengthSq / b0) * u / 2.0;
        int n = 0;
        int d = 1;
        if (c < 1.0 && !ToFraction(std::numbers::pi / std::acos(c), n, d, kTol))
            n = 0;
        if (n < 3)
        {
            InternalError("Can't find faces to match edge lengths of vertex figure");
            return nullptr;
        }
        if (n == 16)
            options |= kPolychoronPreferWorstScore;
        e.mN = n;
        e.mD = d;
        e.mRadius = edgeLength / (2.0 * std::sin(std::numbers::pi * d / n));
        const double distSq = rho * rho - e.mRadius * e.mRadius;
        e.mPlaneDistance = distSq <= kTol ? 0.0 : std::sqrt(distSq);
    }
    SetFigureKinds(templ, lengths);
    AssignFaceClasses(templ.mEdges);

    auto polytope = std::make_unique<Polytope4D>();
    {
        VertexFigureGrowth growth(*polytope, templ, rho, w0);
        Vert4D* seed = growth.Reach(Vec4D{0.0, 0.0, 0.0, rho}, 0);
        VertexFigurePlacement placement;
        placement.mCentre = Vec4D{0.0, 0.0, 0.0, w0};
        placement.mAxes[0] = Vec4D{1.0, 0.0, 0.0, 0.0};
        placement.mAxes[1] = Vec4D{0.0, 1.0, 0.0, 0.0};
        placement.mAxes[2] = Vec4D{0.0, 0.0, 1.0, 0.0};
        if (!seed || !growth.FitVertexFigurePlacement(seed, placement, true))
        {
            ErrorMessage("It does not appear possible to use this polyhedron\nas a vertex figure for a 4D polytope.");
            return nullptr;
        }
        ProgressScope progress;
        SetProgressShowRemaining(false);
        int placed = 1;
        for (;;)
        {
            // The queue holds the vertices reached and not yet placed; the fewest choices go first.
            std::vector<Vert4D*> queue;
            Vert4D* best = nullptr;
            int bestCount = INT_MAX;
            int bestKey = INT_MAX;
            for (Vert4D* vert : growth.mQueue)
            {
                if (vert->mFlags & (VertexFigureGrowth::kPlaced | VertexFigureGrowth::kPlacedMirrored))
                    continue;
                queue.push_back(vert);
                if (bestCount == 0)
                    continue;
                VertexFigureGrowth::VertInfo& info = growth.Info(vert);
                int count = 0;
                if (!info.figure)
                    count = growth.MatchVertexFigureAt(vert);
                else
                {
                    if (vert->mFlags & VertexFigureGrowth::kMustRematch)
                        growth.RetestCandidates(vert);
                    count = info.figure->mNumCandidates;
                }
                if (count < bestCount || (count == bestCount && info.key < bestKey))
                {
                    best = vert;
                    bestCount = count;
                    bestKey = info.key;
                }
            }
            growth.mQueue = std::move(queue);
            if (!best)
                break;
            if (bestCount == 0)
            {
                ErrorMessage("Failed to create uniform or scaliform polytope");
                break;
            }
            LocalVertexFigure& local = *growth.Info(best).figure;
            std::vector<const VertexFigurePlacement*> choices;
            bool anyDirect = false;
            for (const VertexFigurePlacement* c = local.mFirstCandidate.get(); c; c = c->mNext.get())
                anyDirect = anyDirect || !(c->mFlags & VertexFigurePlacement::kMirrored);
            for (const VertexFigurePlacement* c = local.mFirstCandidate.get(); c; c = c->mNext.get())
            {
                if (!anyDirect || !(c->mFlags & VertexFigurePlacement::kMirrored))
                    choices.push_back(c);
            }
            const VertexFigurePlacement* choice = choices[0];
            if (choices.size() > 1)
            {
                int top = -1;
                int atTop = 0;
                for (const VertexFigurePlacement* c : choices)
                {
                    const int landings = growth.CountLandings(*c);
                    if (landings > top)
                    {
                        top = landings;
                        atTop = 1;
                        choice = c;
                    }
                    else if (landings == top)
                        ++atTop;
                }
                if (atTop > 1)
                {
                    // Among equals the best score (the worst for 16-gons), the first on ties.
                    const bool worst = options & kPolychoronPreferWorstScore;
                    choice = nullptr;
                    for (const VertexFigurePlacement* c : choices)
                    {
                        if (growth.CountLandings(*c) != top)
                            continue;
                        if (!choice || (worst ? c->mScore > choice->mScore : c->mScore < choice->mScore))
                            choice = c;
                    }
                }
            }
            const VertexFigurePlacement chosenPlacement = [&] {
                VertexFigurePlacement copy;
                copy.mCentre = choice->mCentre;
                for (int k = 0; k < 3; ++k)
                    copy.mAxes[k] = choice->mAxes[k];
                copy.mFlags = choice->mFlags;
                return copy;
            }();
            local.ClearCandidates();
            if (!growth.FitVertexFigurePlacement(best, chosenPlacement, true))
                break;
            ++placed;
            if (polytope->mNumVerts > kMaxVerts)
            {
                ErrorMessage("Polytope didn't close after %d vertices,\ngiving up.", kMaxVerts);
                break;
            }
            if (!ShowProgress(placed / (placed + 3600.0), "Creating uniform/scaliform polychoron.\nMatched %d vertices",
                              placed))
                break;
        }
        growth.MakeCells();
    }
    // Positions move as the polytope is completed: the point tree would point at old places.
    polytope->DropPointTree();
    polytope->mFlags &= ~Polytope4D::kVertIndicesValid;
    if (!polytope->FinishPolytope())
        return nullptr;
    polytope->mScale = 1.0;
    return polytope;
}
