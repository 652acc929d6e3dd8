#include "kernel/Triangulation2D.h"

#include "kernel/FaceImage.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Transform3D.h"

#include <algorithm>
#include <new>
#include <vector>

namespace
{
Vec3D Place(const Transform3D& map, const Vec2D& p)
{
    Vec3D c0, c1;
    map.m.GetColumn(c0, 0);
    map.m.GetColumn(c1, 1);
    Vec3D out = map.t;
    Vec3AddScaledTo(out, p.x, c0);
    Vec3AddScaledTo(out, p.y, c1);
    return out;
}
}  // namespace

void Triangulation2D::Draw(const Transform3D& map, FaceImage* image, const Transform3D* facePlacement,
                           const Transform3D* texMap) const
{
    if (indexCount < 3 || !points || !indices)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const int count = indexCount - indexCount % 3;
    if (image && facePlacement)
    {
        FaceTexMapping mapping;
        image->PrepareTexCoords(mapping, *facePlacement);
        Vec3D c0, c1, normal;
        map.m.GetColumn(c0, 0);
        map.m.GetColumn(c1, 1);
        Vec3Cross(normal, c0, c1);
        Vec3Normalize(normal);
        const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        for (int i = 0; i < count; i += 3)
        {
            Vec3D corners[3];
            Vec3D texPoints[3];
            for (int k = 0; k < 3; ++k)
            {
                corners[k] = Place(map, points[size_t(indices[i + k])]);
                if (texMap)
                    texMap->Apply(texPoints[k], corners[k]);
                else
                    texPoints[k] = corners[k];
            }
            drawer.AddTriangle(corners, normal, white, kTriangleDrawNow, 1.0, image, &mapping, texPoints);
        }
        return;
    }
    std::vector<Vec3D> corners;
    corners.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        corners.push_back(Place(map, points[size_t(indices[i])]));
    drawer.DrawTriangles(corners.data(), count / 3);
}

void Triangulation2D::Combine(int n, const Triangulation2D* inputs)
{
    Clear();
    indexCount = 0;
    std::vector<int32_t> used(size_t(std::max(n, 0)), 0);
    int64_t totalPoints = 0;
    for (int i = 0; i < n; ++i)
    {
        const Triangulation2D& t = inputs[i];
        int32_t largest = -1;
        for (int k = 0; k < t.indexCount && t.indices; ++k)
            largest = std::max(largest, t.indices[k]);
        used[size_t(i)] = largest + 1;
        totalPoints += largest + 1;
        if (t.indexCount > 0)
            indexCount += t.indexCount;
    }
    points.reset(new (std::nothrow) Vec2D[size_t(std::max<int64_t>(totalPoints, 1))]);
    indices.reset(new (std::nothrow) int32_t[size_t(std::max(indexCount, 1))]);
    if (!points || !indices)
    {
        Clear();
        return;
    }
    int32_t offset = 0;
    int32_t at = 0;
    for (int i = 0; i < n; ++i)
    {
        const Triangulation2D& t = inputs[i];
        for (int k = 0; k < t.indexCount; ++k)
            indices[size_t(at++)] = t.indices[k] + offset;
        for (int32_t k = 0; k < used[size_t(i)]; ++k)
            points[size_t(offset + k)] = t.points[size_t(k)];
        offset += used[size_t(i)];
    }
}
