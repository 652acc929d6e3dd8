#include "kernel/LineBatch.h"

#include "kernel/SceneDrawer.h"

void LineBatch::Add(const Vec3D& a, const Vec3D& b)
{
    mEnds.push_back(a);
    mEnds.push_back(b);
    mRgba.insert(mRgba.end(), mColor, mColor + 4);
}

void LineBatch::Flush()
{
    if (mEnds.empty())
        return;
    CurrentSceneDrawer().DrawLines(mEnds.data(), mRgba.data(), int(mEnds.size() / 2));
    mEnds.clear();
    mRgba.clear();
}
