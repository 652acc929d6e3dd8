// orvane_relax_desc: relaxes a spring-network description read from standard input and prints the
// force left, the vertex count and the vertices, one "x y z" line each at full precision. The table
// generator (gen_spring_tables.py) stores what it prints for rows whose data must be relaxed.
//
//   orvane_relax_desc [--seed N] [--attempts N] [--start FILE.off] [--planarity-only 1] < description
//
// With --start the relaxation starts from the file's shape instead of a random one: the file must
// hold the description's polygons, in its order. The description's options still count; its hop
// springs, which only spread a random start out, do not. --planarity-only (with --start) runs only
// the pass that flattens faces, without the springs of the faces up to the planarity limit, for a
// shape whose edges are already as wanted: the pass towards regular faces would trade its equal
// edges for rounder faces.

#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/SpringNetwork.h"
#include "operations/SpringSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<SimplePoly> ReadOff(const char* path)
{
    std::ifstream in(path);
    std::string word;
    int nv = 0, nf = 0, ne = 0;
    if (!(in >> word >> nv >> nf >> ne) || word != "OFF" || nv <= 0 || nf <= 0)
        return nullptr;
    auto poly = std::make_unique<SimplePoly>(nv, nf);
    for (int i = 0; i < nv; ++i)
    {
        double x = 0, y = 0, z = 0;
        in >> x >> y >> z;
        poly->mVerts[i].SetPosXYZ(x, y, z);
    }
    for (int f = 0; f < nf; ++f)
    {
        int n = 0;
        in >> n;
        poly->mFaces[f].SetNumVerts(n);
        for (int k = 0; k < n; ++k)
        {
            int v = -1;
            in >> v;
            if (v < 0 || v >= nv)
                return nullptr;
            poly->mFaces[f].SetVert(k, &poly->mVerts[v]);
        }
    }
    return in ? std::move(poly) : nullptr;
}

// Whether the model's faces are the description's polygons: the same corners by index, in order.
bool SameFaces(const Poly& poly, const std::string& desc)
{
    const char* p = std::strchr(desc.c_str(), '(');
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        if (!p)
            return false;
        ++p;
        for (int k = 0; k < f->mNumSides; ++k)
        {
            char* end = nullptr;
            if (std::strtol(p, &end, 10) != FaceVert::GetIndex(f->mNeighbours[k]))
                return false;
            p = end;
        }
        p = std::strchr(p, '(');
    }
    return p == nullptr;
}
}  // namespace

int main(int argc, char** argv)
{
    const char* start = nullptr;
    bool planarityOnly = false;
    unsigned seed = 1;
    int attempts = 10;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--seed") == 0)
            seed = unsigned(std::strtoul(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--attempts") == 0)
            attempts = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--start") == 0)
            start = argv[i + 1];
        else if (std::strcmp(argv[i], "--planarity-only") == 0)
            planarityOnly = std::atoi(argv[i + 1]) != 0;
    }
    const std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());

    // Messages are printed, never shown.
    ScriptedServices services;
    SetServices(&services);
    SeedSpringRandom(seed);
    SpringSystem system;
    if (!system.CreateFromDesc(text.c_str()))
    {
        std::fprintf(stderr, "%s\n", services.calls.empty() ? "bad description" : services.calls.back().text.c_str());
        return 1;
    }
    Poly poly;
    if (start)
    {
        std::unique_ptr<SimplePoly> model = ReadOff(start);
        if (!model || !CreatePoly(model.get(), &poly, false, false) || !SameFaces(poly, text))
        {
            std::fprintf(stderr, "%s: not the description's model\n", start);
            return 1;
        }
        const int planarityLimit = system.mPlanarityLimit;
        system.CreateFromPoly(&poly);
        system.mPlanarityLimit = planarityLimit;
        system.mFlags |= SpringSystem::kStartFromModel;
    }
    double force = 0.0;
    if (planarityOnly && start)
    {
        ProgressScope progress;
        system.CreateSprings();
        // Placed while the edge springs still give the scale.
        system.SetStartPositions();
        // The springs that would give way go at once: softened step by step, the chords of a face
        // that is not regular would first pull the shape towards regular.
        for (Spring* s = GetSpringNetwork().mFirstSpring; s;)
        {
            Spring* next = s->next;
            if (s->mTag >= 1 && s->mTag <= system.mPlanarityLimit)
                DeleteSpring(s);
            s = next;
        }
        force = system.SettleOnceB(false, system.mPlanarityLimit);
        system.CreateSimplePoly();
    }
    else
        force = system.Settle(attempts);
    std::unique_ptr<SimplePoly> result = system.TakeResult();
    if (!result)
    {
        std::fprintf(stderr, "no result (force %g)\n", force);
        return 1;
    }
    std::printf("%.17g\n%d\n", force, result->mNumVerts);
    for (int i = 0; i < result->mNumVerts; ++i)
    {
        const Vec3D& p = result->mVerts[i].mPos;
        std::printf("%.17g %.17g %.17g\n", p.x, p.y, p.z);
    }
    SetServices(nullptr);
    return 0;
}
