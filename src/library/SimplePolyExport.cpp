// The 3D export formats of SimplePoly: DXF and STL (triangles only), OBJ with its material file,
// and OFF. Every writer takes the positions as they stand: the export command has turned and sized
// the model as its pane shows it.

#include "model/SimplePoly.h"

#include "kernel/ColorRGB.h"
#include "kernel/DxfCodes.h"
#include "kernel/GrowableArray.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "kernel/WaitCursor.h"
#include "library/Export3DOptions.h"
#include "library/ExportWriting.h"
#include "library/FileHeaderComment.h"
#include "model/ElementDisplayOptions.h"
#include "operations/VertexPair.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace
{
using E = SimpleElem;

constexpr uint32_t kNotWritten = E::kTemp | E::kHidden;

// The face's unit normal as written: its own (from the corners when none was computed), turned
// round for a face whose normal is marked reversed.
Vec3D WrittenNormal(const SimpleFace& face)
{
    Vec3D n = face.mNormal;
    if (n.x == -2.0)
    {
        n = face.GetAreaVector();
        Vec3Normalize(n);
    }
    if (face.mFlags & E::kReverseNorm)
        n = Vec3D{-n.x, -n.y, -n.z};
    return ExportZeroed(n);
}

Vec3D CornerPos(const SimpleFace& face, int k)
{
    const SimpleVert* v = k < face.mNum ? face.GetVert(k) : nullptr;
    return v ? ExportZeroed(v->mPos) : Vec3D{};
}

int ColorByte(float c)
{
    return int(std::lround(double(c) * 255.0));
}

void WriteDxfPoint(std::FILE* f, int first, const Vec3D& p)
{
    std::fprintf(f, "%d\n%.17g\n%d\n%.17g\n%d\n%.17g\n", first, p.x, first + 10, p.y, first + 20, p.z);
}
// The STL solid's name: letters, digits and '_' of the title; any other character is dropped and
// makes the next kept one upper case.
std::string StlSolidName(const char* title)
{
    std::string name;
    bool upper = false;
    for (const char* p = title ? title : ""; *p; ++p)
    {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isalnum(c) || c == '_')
        {
            name += upper ? char(std::toupper(c)) : char(c);
            upper = false;
        }
        else
            upper = true;
    }
    return name;
}

// The file's name without its extension, letters and digits only.
std::string ObjGroupBaseName(const char* objPath)
{
    const char* name = GetFileNamePart(objPath ? objPath : "");
    const char* end = GetExtension(name);
    std::string base;
    for (const char* p = name; p < end; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p)))
            base += *p;
    return base.empty() ? "Polyhedron" : base;
}
// The number of edges CollectEdges lists, counted without building its list, whose search for a
// pair already listed makes large models slow: the edge records that are not hidden and border a
// written face, or without records the sides of the written faces, each pair of ends once.
int CountEdges(const SimplePoly& poly)
{
    std::unordered_set<uint64_t> pairs;
    auto add = [&](const SimpleVert* a, const SimpleVert* b) {
        const int i = SimpleVert::GetIndex(a);
        const int j = SimpleVert::GetIndex(b);
        if (i >= 0 && j >= 0)
            pairs.insert(uint64_t(uint32_t(std::min(i, j))) << 32 | uint32_t(std::max(i, j)));
    };
    auto written = [](const SimpleFace* face) { return face && IsWrittenFace(*face); };
    if (!poly.mEdges || poly.mNumEdges <= 0)
    {
        for (int f = 0; f < poly.mNumFaces; ++f)
        {
            const SimpleFace& face = poly.mFaces[f];
            if (!written(&face) || face.mNum <= 0)
                continue;
            for (int k = 0; k < face.mNum; ++k)
                add(face.GetVert(k), face.GetVert((k + 1) % face.mNum));
        }
    }
    else
    {
        for (int i = 0; i < poly.mNumEdges; ++i)
        {
            const SimpleEdge& edge = poly.mEdges[i];
            if (!(edge.mFlags & SimpleEdge::kHidden) && (written(edge.mFaces[0]) || written(edge.mFaces[1])))
                add(edge.mVerts[0], edge.mVerts[1]);
        }
    }
    return int(pairs.size());
}
}  // namespace

bool SimplePoly::ExportDxf(const char* path, const char* title, const VertexPair* edges) const
{
    ScopedWaitCursor wait;
    ExportFaceColors fc;
    if (!CollectExportFaceColors(*this, fc))
        return false;
    ExportFile file(std::fopen(path, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();
    const bool withEdges = (gExport3DOptions & kExport3DEdges) != 0;
    const int edgeIndex = NearestAciColor(GetElementDisplayOptions().mDefaultEdgeColor);

    std::fputs(FormatFileHeaderComment("999\n", title, nullptr).c_str(), f);
    std::fputs("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n", f);
    std::fprintf(f, "9\n$INSUNITS\n70\n%d\n", GetDxfInsUnits(GetUnitSettings().GetDistanceUnit()));
    std::fputs("9\n$INSBASE\n10\n0.0\n20\n0.0\n30\n0.0\n9\n$EXTMIN\n10\n0.0\n20\n0.0\n9\n$EXTMAX\n10\n1000.0\n20\n"
               "1000.0\n0\nENDSEC\n",
               f);
    std::fputs("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n70\n1\n0\nLTYPE\n2\nCONTINUOUS\n70\n64\n3\nSolid line\n72\n"
               "65\n73\n0\n40\n0.0\n0\nENDTAB\n",
               f);

    std::vector<int> colorIndex(fc.colors.count);
    for (uint32_t i = 0; i < fc.colors.count; ++i)
        colorIndex[i] = NearestAciColor(fc.colors.items[i]);
    std::fprintf(f, "0\nTABLE\n2\nLAYER\n70\n%u\n", fc.colors.count + 1);
    for (uint32_t i = 0; i < fc.colors.count; ++i)
        std::fprintf(f, "0\nLAYER\n2\nLayer%u\n70\n0\n62\n%d\n6\nCONTINUOUS\n", i + 1, colorIndex[i]);
    if (withEdges)
        std::fprintf(f, "0\nLAYER\n2\nEdges\n70\n0\n62\n%d\n6\nCONTINUOUS\n", edgeIndex);
    std::fputs("0\nENDTAB\n", f);
    std::fputs("0\nTABLE\n2\nSTYLE\n70\n0\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n0\nENDSEC\n0\nSECTION\n2\n"
               "ENTITIES\n",
               f);

    bool reported = false;
    const std::vector<std::vector<int>> lists = ExportFacesByColor(fc);
    for (size_t i = 0; i < lists.size(); ++i)
    {
        for (const int index : lists[i])
        {
            const SimpleFace& face = mFaces[index];
            CheckExportTriangle(face, "ExportDxf", reported);
            std::fprintf(f, "0\n3DFACE\n8\nLayer%zu\n62\n%d\n", i + 1, colorIndex[i]);
            // The fourth corner repeats the third: a triangle.
            for (int k = 0; k < 4; ++k)
                WriteDxfPoint(f, 10 + k, CornerPos(face, std::min(k, 2)));
        }
    }
    if (withEdges)
    {
        for (const VertexPair* pair = edges; pair; pair = pair->mNext)
        {
            if (pair->mLow < 0 || pair->mLow >= mNumVerts || pair->mHigh < 0 || pair->mHigh >= mNumVerts)
                continue;
            ColorRGB color;
            ColorFromRGB(color, uint32_t(pair->mValue));
            std::fprintf(f, "0\nLINE\n8\nEdges\n62\n%d\n", NearestAciColor(color));
            WriteDxfPoint(f, 10, ExportZeroed(mVerts[pair->mLow].mPos));
            WriteDxfPoint(f, 11, ExportZeroed(mVerts[pair->mHigh].mPos));
        }
    }
    std::fputs("0\nENDSEC\n0\nEOF\n", f);
    return FinishExportFile(file);
}

bool SimplePoly::ExportStl(const char* path, const char* title) const
{
    ScopedWaitCursor wait;
    ExportFile file(std::fopen(path, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();
    const std::string name = StlSolidName(title);
    std::fprintf(f, "solid %s\n", name.c_str());
    bool reported = false;
    for (int i = 0; i < mNumFaces; ++i)
    {
        const SimpleFace& face = mFaces[i];
        if (!IsWrittenFace(face))
            continue;
        CheckExportTriangle(face, "ExportStl", reported);
        const Vec3D n = WrittenNormal(face);
        std::fprintf(f, " facet normal %.8f %.8f %.8f\n  outer loop\n", n.x, n.y, n.z);
        for (int k = 0; k < 3; ++k)
        {
            const Vec3D p = CornerPos(face, k);
            std::fprintf(f, "   vertex %.8f %.8f %.8f\n", p.x, p.y, p.z);
        }
        std::fputs("  endloop\n endfacet\n", f);
    }
    std::fprintf(f, "endsolid %s\n", name.c_str());
    return FinishExportFile(file);
}

bool SimplePoly::ExportObj(const char* objPath, const char* mtlPath, const char* title) const
{
    ScopedWaitCursor wait;
    ExportFile mtl(std::fopen(mtlPath, "w"));
    if (!mtl)
        return false;
    ExportFaceColors fc;
    if (!CollectExportFaceColors(*this, fc))
        return false;
    std::fputs(FormatFileHeaderComment("# ", title, nullptr).c_str(), mtl.get());
    std::fputs("\n", mtl.get());
    for (uint32_t i = 0; i < fc.colors.count; ++i)
    {
        const ColorRGB& c = fc.colors.items[i];
        std::fprintf(mtl.get(), "newmtl Material_%u\n\tKa %.2f %.2f %.2f\n\tKd %.2f %.2f %.2f\n\tKs 1 1 1\n", i, c.r, c.g,
                     c.b, c.r, c.g, c.b);
    }
    if (!FinishExportFile(mtl))
        return false;

    ExportFile file(std::fopen(objPath, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();
    std::fputs(FormatFileHeaderComment("# ", title, nullptr).c_str(), f);
    std::fprintf(f, "\nmtllib %s\no %s\n", GetFileNamePart(mtlPath), title ? title : "");
    const std::string base = ObjGroupBaseName(objPath);
    for (int i = 0; i < mNumVerts; ++i)
    {
        const Vec3D p = ExportZeroed(mVerts[i].mPos);
        std::fprintf(f, "v % .17f % .17f % .17f\n", p.x, p.y, p.z);
    }
    // Normals go one to a written face, in face order.
    std::vector<int> normalNumber(size_t(std::max(mNumFaces, 0)), 0);
    int numNormals = 0;
    for (int i = 0; i < mNumFaces; ++i)
    {
        const SimpleFace& face = mFaces[i];
        if (!IsWrittenFace(face))
            continue;
        normalNumber[size_t(i)] = ++numNormals;
        const Vec3D n = WrittenNormal(face);
        std::fprintf(f, "vn % .13f % .13f % .13f\n", n.x, n.y, n.z);
    }
    const std::vector<std::vector<int>> lists = ExportFacesByColor(fc);
    for (size_t i = 0; i < lists.size(); ++i)
    {
        const ColorRGB& c = fc.colors.items[i];
        std::fprintf(f, "g %s Group%03zuRGB%02x%02x%02x\nusemtl Material_%zu\n", base.c_str(), i + 1, ColorByte(c.r),
                     ColorByte(c.g), ColorByte(c.b), i);
        for (const int index : lists[i])
        {
            const SimpleFace& face = mFaces[index];
            std::fputs("f", f);
            for (int k = 0; k < face.mNum; ++k)
                std::fprintf(f, " %d//%d", SimpleVert::GetIndex(face.GetVert(k)) + 1, normalNumber[size_t(index)]);
            std::fputs("\n", f);
        }
    }
    return FinishExportFile(file);
}

bool SimplePoly::ExportOff(const char* path, const char* title) const
{
    ScopedWaitCursor wait;
    ExportFile file(std::fopen(path, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();
    std::fputs("OFF\n", f);
    std::fputs(FormatFileHeaderComment("# ", title, nullptr).c_str(), f);
    std::fprintf(f, "%d %d %d\n", mNumVerts, CountFacesWithout(this, kNotWritten), CountEdges(*this));
    for (int i = 0; i < mNumVerts; ++i)
    {
        const Vec3D p = ExportZeroed(mVerts[i].mPos);
        std::fprintf(f, "% .17f % .17f % .17f\n", p.x, p.y, p.z);
    }
    for (int i = 0; i < mNumFaces; ++i)
    {
        const SimpleFace& face = mFaces[i];
        if (!IsWrittenFace(face))
            continue;
        std::fprintf(f, "%d", face.mNum);
        for (int k = 0; k < face.mNum; ++k)
            std::fprintf(f, " %d", SimpleVert::GetIndex(face.GetVert(k)));
        std::fprintf(f, " \t%u %u %u\n", face.mColor & 0xff, face.mColor >> 8 & 0xff, face.mColor >> 16 & 0xff);
    }
    return FinishExportFile(file);
}
