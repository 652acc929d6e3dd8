#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "model/FaceOutline.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
// The winding number of the closed polygon around p, both in the xy plane.
int WindingNumber(const std::vector<Vec3D>& polygon, const Vec3D& p)
{
    double turn = 0.0;
    for (size_t k = 0; k < polygon.size(); ++k)
    {
        const Vec3D& a = polygon[k];
        const Vec3D& b = polygon[(k + 1) % polygon.size()];
        const double ax = a.x - p.x, ay = a.y - p.y, bx = b.x - p.x, by = b.y - p.y;
        turn += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    }
    return int(std::lround(turn / (2 * kPi)));
}

struct OutlineCase
{
    std::string name;
    std::vector<Vec3D> corners;  // in the plane z = 1
    double area;                 // of the points the outline winds around
};

// A face over the corners as given; repeated positions keep one record.
std::unique_ptr<SimplePoly> MakeFace(const std::vector<Vec3D>& corners, const Mat3& turn)
{
    std::vector<Vec3D> points;
    std::vector<int> face;
    for (const Vec3D& c : corners)
    {
        Vec3D p;
        turn.Transform(p, c);
        int at = -1;
        for (size_t i = 0; i < points.size() && at < 0; ++i)
        {
            if (Vec3Equal(points[i], p, 1e-12))
                at = int(i);
        }
        if (at < 0)
        {
            at = int(points.size());
            points.push_back(p);
        }
        face.push_back(at);
    }
    return MakeFacedPoly(points, {face});
}
}  // namespace

TEST(FaceOutlineTest, TrianglesCoverWhatTheOutlineWindsAroundOnceTheWayItWinds)
{
    const std::vector<OutlineCase> kCases = {
        {"square", {{0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}}, 4.0},
        {"square clockwise", {{0, 0, 1}, {0, 2, 1}, {2, 2, 1}, {2, 0, 1}}, 4.0},
        {"non-convex arrow", {{0, 0, 1}, {4, 0, 1}, {4, 4, 1}, {2, 1, 1}, {0, 4, 1}}, 10.0},
        {"bow tie", {{0, 0, 1}, {2, 2, 1}, {2, 0, 1}, {0, 2, 1}}, 2.0},
        {"spike out and back", {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {2, 2, 1}, {1, 1, 1}, {0, 1, 1}}, 1.0},
        // Around a square, across a bridge and round a smaller one the other way: a hole.
        {"hole behind a bridge",
         {{0, 0, 1}, {4, 0, 1}, {4, 4, 1}, {0, 4, 1}, {0, 0, 1}, {1, 1, 1}, {1, 3, 1}, {3, 3, 1}, {3, 1, 1}, {1, 1, 1}},
         12.0},
        // Twice round the same square: filled once.
        {"square twice", {{0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}, {0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}}, 4.0},
        // A side running back over part of another.
        {"overlapping sides", {{0, 0, 1}, {3, 0, 1}, {3, 1, 1}, {2, 1, 1}, {2, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, 2.0},
        {"all in a line", {{0, 0, 1}, {1, 1, 1}, {2, 2, 1}}, 0.0},
    };
    for (const Mat3& turn : {Mat3(), RandomRotation(3)})
    {
        for (const OutlineCase& c : kCases)
        {
            SCOPED_TRACE(c.name);
            auto model = MakeFace(c.corners, turn);
            const SimpleFace& face = model->mFaces[0];
            FaceOutline out;
            const int count = ResolveFaceOutline(face, out);
            ASSERT_EQ(count, int(out.indices.size()));
            ASSERT_EQ(count % 3, 0);
            ASSERT_EQ(out.points.size(), out.corners.size());
            double area = 0.0;
            for (int t = 0; t < count; t += 3)
            {
                // Back into the plane of the case, where the outline's winding is counted.
                Vec3D p[3];
                for (int k = 0; k < 3; ++k)
                    turn.TransformTransposed(p[k], out.points[size_t(out.indices[size_t(t + k)])]);
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(p[k].z, 1.0, 1e-12);
                const double twice = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
                const Vec3D centroid{(p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3, 1.0};
                const int winding = WindingNumber(c.corners, centroid);
                EXPECT_NE(winding, 0) << "triangle " << t / 3;
                EXPECT_GT(twice * winding, 0.0) << "triangle " << t / 3;
                area += std::fabs(twice) / 2;
            }
            EXPECT_NEAR(area, c.area, 1e-12);
            // Corners are named; new points lie where the outline crosses or touches itself.
            for (size_t i = 0; i < out.points.size(); ++i)
            {
                if (out.corners[i] >= 0)
                {
                    EXPECT_TRUE(Vec3Equal(out.points[i], face.GetVert(out.corners[i])->mPos, 0.0));
                }
            }
        }
    }
}

TEST(FaceOutlineTest, FacesThatCannotBeFilledGiveNothing)
{
    SimplePoly model(4, 3);
    model.mVerts[0].SetPos({0, 0, 1});
    model.mVerts[1].SetPos({1, 0, 1});
    model.mVerts[2].SetPos({0, 1, 1});
    model.mVerts[3].mFlags |= SimpleElem::kInf;
    model.mVerts[3].SetPos({0, 0, 1});
    model.mFaces[0].SetNumVerts(2);
    model.mFaces[0].SetVert(0, &model.mVerts[0]);
    model.mFaces[0].SetVert(1, &model.mVerts[1]);
    model.mFaces[1].SetNumVerts(3);
    model.mFaces[1].SetVert(0, &model.mVerts[0]);
    model.mFaces[1].SetVert(1, &model.mVerts[1]);
    model.mFaces[1].SetVert(2, &model.mVerts[3]);
    model.mFaces[2].SetNumVerts(3);
    model.mFaces[2].SetVert(0, &model.mVerts[0]);
    model.mFaces[2].SetVert(1, &model.mVerts[1]);
    FaceOutline out;
    for (int f = 0; f < 3; ++f)
    {
        EXPECT_EQ(ResolveFaceOutline(model.mFaces[f], out), 0) << f;
        EXPECT_TRUE(out.indices.empty());
    }
}
