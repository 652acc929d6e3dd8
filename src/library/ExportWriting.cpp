#include "library/ExportWriting.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

bool FinishExportFile(ExportFile& file)
{
    const bool ok = !std::ferror(file.get());
    return std::fclose(file.release()) == 0 && ok;
}

double ExportZeroed(double v)
{
    return std::fabs(v) <= kTol ? 0.0 : v;
}

Vec3D ExportZeroed(const Vec3D& v)
{
    return Vec3D{ExportZeroed(v.x), ExportZeroed(v.y), ExportZeroed(v.z)};
}

bool IsWrittenFace(const SimpleFace& face)
{
    return !(face.mFlags & (SimpleElem::kTemp | SimpleElem::kHidden));
}

bool CollectExportFaceColors(const SimplePoly& poly, ExportFaceColors& out)
{
    poly.CollectColors(out.colors);
    if (!out.colors.items)
        return false;
    std::unordered_map<uint32_t, int> byPacked;
    for (uint32_t i = 0; i < out.colors.count; ++i)
        byPacked.emplace(ColorToRGB(out.colors.items[i]), int(i));
    out.faceColor.assign(size_t(std::max(poly.mNumFaces, 0)), -1);
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if (!IsWrittenFace(face))
            continue;
        const auto it = byPacked.find(face.mColor & 0xffffff);
        if (it != byPacked.end())
            out.faceColor[size_t(f)] = it->second;
    }
    return true;
}

std::vector<std::vector<int>> ExportFacesByColor(const ExportFaceColors& fc)
{
    std::vector<std::vector<int>> lists(fc.colors.count);
    for (size_t f = 0; f < fc.faceColor.size(); ++f)
        if (fc.faceColor[f] >= 0)
            lists[size_t(fc.faceColor[f])].push_back(int(f));
    return lists;
}

void CheckExportTriangle(const SimpleFace& face, const char* writer, bool& reported)
{
    if (face.mNum == 3 || reported)
        return;
    reported = true;
    InternalError("%s: face has %d sides, must have 3", writer, face.mNum);
}
