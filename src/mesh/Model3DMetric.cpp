// The metric data file: a text report of a Model3D for people who cut and assemble real models.

#include "mesh/Model3D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "library/FileHeaderComment.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace
{
struct FileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string Angle(double radians)
{
    char buffer[64];
    GetUnitSettings().FormatAngle(buffer, sizeof buffer, radians, "deg");
    return buffer;
}

// The interior angle between the step p into a corner and the step q out of it, 0 to 2 pi.
double FaceAngle(const Vec2D& p, const Vec2D& q)
{
    const double lp = Vec2Length(p);
    const double lq = Vec2Length(q);
    double turn = 0.0;
    if (lp > kTol && lq > kTol)
    {
        const Vec2D a{p.x / lp, p.y / lp};
        const Vec2D b{q.x / lq, q.y / lq};
        const double cross = a.x * b.y - a.y * b.x;
        const double dot = a.x * b.x + a.y * b.y;
        // Half chords keep the angle exact near 0 and pi, where acos loses digits.
        if (dot >= 0.0)
        {
            const double h = std::hypot(b.x - a.x, b.y - a.y) / 2.0;
            turn = 2.0 * std::asin(std::fmin(h, 1.0));
            if (cross < 0.0)
                turn = 2.0 * kPi - turn;
        }
        else
        {
            const double h = std::hypot(a.x + b.x, a.y + b.y) / 2.0;
            turn = kPi - 2.0 * std::asin(std::fmin(h, 1.0));
            if (cross < 0.0)
                turn = kPi + 2.0 * std::asin(std::fmin(h, 1.0));
        }
    }
    double angle = kPi - turn;
    if (angle < 0.0)
        angle += 2.0 * kPi;
    return angle;
}

// The radius of the largest sphere inside the uniform model: the distance of the nearest face plane.
// (The template's own in-radius, the square of the mid-radius, is where the dual's faces lie.)
double InRadius(const PolyTemplate& templ)
{
    double best = -1.0;
    const TemplatePolygon* p = templ.mFirst;
    for (int i = 0; p && i < 1000; ++i)
    {
        const double h = std::fabs(p->mHeight);
        if (best < 0.0 || h < best)
            best = h;
        p = p->next;
        if (p == templ.mFirst)
            break;
    }
    return best < 0.0 ? templ.mInRadius : best;
}

double FaceletArea(const Face3DType& type)
{
    const Face3D* face = type.GetFace(0);
    if (!face)
        return 0.0;
    Vec3D sum;
    for (size_t t = 0; t + 2 < type.mTriIndices.size(); t += 3)
    {
        const Vert3D* v[3];
        bool complete = true;
        for (int c = 0; c < 3; ++c)
        {
            const int e = type.mTriIndices[t + size_t(c)];
            v[c] = e >= 0 && e < type.mNumSides ? face->mEdges[size_t(e)].mVert : nullptr;
            complete = complete && v[c];
        }
        if (!complete)
            continue;
        Vec3D ab, bc, cross;
        Vec3Sub(ab, v[1]->mPos, v[0]->mPos);
        Vec3Sub(bc, v[2]->mPos, v[1]->mPos);
        Vec3Cross(cross, ab, bc);
        Vec3AddTo(sum, cross);
    }
    return Vec3Length(sum) / 2.0;
}
}  // namespace

void Model3D::ExportMetricData(const char* path, const char* title)
{
    std::unique_ptr<std::FILE, FileCloser> file(path ? std::fopen(path, "w") : nullptr);
    if (!file)
    {
        ErrorMessage("Couldn't open '%s' for writing", path ? path : "");
        return;
    }
    std::FILE* f = file.get();
    const double s = GetUnitSettings().GetScale();

    std::fputs("================\n", f);
    std::fputs("Metric Data File\n", f);
    std::fputs("================\n\n", f);
    std::fputs(FormatFileHeaderComment("", title, "").c_str(), f);
    std::fprintf(f, "\n %d facelets, of %d types; %d edgelets; %d vertices, of %d types.\n", GetNumFaces(),
                 GetNumFaceTypes(), GetNumEdges(), mNumVerts, mNumVertTypes);
    const double radius = (mStellation ? mStellation->GetRadius() : GetRadius()) * s;
    std::fprintf(f, " Radius %g, Diameter %g\n", radius, 2.0 * radius);
    if (const PolyTemplate* templ = mPoly ? mPoly->mTemplate : nullptr)
    {
        std::fprintf(f, " Uniform poly radius %g, Mid-radius %g, In-radius %g\n", s, s * templ->mMidRadius,
                     s * InRadius(*templ));
        std::fprintf(f, " Uniform poly edge length %g\n", s * templ->mEdgeLength);
        std::fprintf(f, " Vertex height %g, Vertex figure radius (rho) %g\n\n", s * templ->mVertexHeight,
                     templ->mHalfNeighbourRadius);
    }

    int index = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext, ++index)
    {
        std::fprintf(f, " Facelet type %d: area %g\n", index, FaceletArea(*type) * s * s);
        const Face3D* face = type->GetFace(0);
        for (int i = 0; face && i < type->mNumSides; ++i)
        {
            const Edge3D& e = face->mEdges[size_t(i)];
            const Edge3D* next = e.GetNext();
            const Edge3D* after = next ? next->GetNext() : nullptr;
            if (!next || !after)
                continue;
            Vec2D p, q;
            Vec2Sub(p, next->mFacePos, e.mFacePos);
            Vec2Sub(q, after->mFacePos, next->mFacePos);
            std::fprintf(f, "  Edge %s: ", Edge3D::GetTypeName(&e));
            std::fprintf(f, "Joins %s, Length %g, Dihedral %s, ", Edge3D::GetTypeName(e.mNeigh),
                         Vec2Length(p) * s, Angle(e.GetEffectiveDihedral()).c_str());
            std::fprintf(f, "Mitre %s\n", Angle(e.GetMitreAngle()).c_str());
            std::fprintf(f, "        Face angle %s\n", Angle(FaceAngle(p, q)).c_str());
            if (next < &e && i != type->mNumSides - 1)
                std::fputs("  [End Loop]\n", f);
        }
    }
}
