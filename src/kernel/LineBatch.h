#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec3D.h"

#include <vector>

// Segments gathered for one batch of lines in the view that draws, each in the colour current when
// it was added. Flushing draws what was gathered (a batch is closed and reopened around a change of
// line width); the destructor flushes the rest.
class LineBatch
{
public:
    LineBatch() = default;
    ~LineBatch() { Flush(); }
    LineBatch(const LineBatch&) = delete;
    LineBatch& operator=(const LineBatch&) = delete;

    void SetColor(const ColorRGB& color, float alpha = 1.0f)
    {
        mColor[0] = color.r;
        mColor[1] = color.g;
        mColor[2] = color.b;
        mColor[3] = alpha;
    }
    void Add(const Vec3D& a, const Vec3D& b);
    void Flush();
    int Count() const { return int(mEnds.size() / 2); }

private:
    std::vector<Vec3D> mEnds;
    std::vector<float> mRgba;
    float mColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};
