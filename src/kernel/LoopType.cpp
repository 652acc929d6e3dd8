#include "kernel/LoopType.h"

#include "kernel/DiagramOwnerHooks.h"
#include "kernel/DiagramPools.h"
#include "kernel/Messages.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/SceneDrawer.h"

#include <cmath>
#include <cstdlib>

namespace
{
const DiagramOwnerQueries* QueriesFor(int kind)
{
    const DiagramModelHooks& hooks = GetDiagramModelHooks();
    if (kind == kOwnerKindFaces)
        return &hooks.faces;
    if (kind == kOwnerKindSections)
        return &hooks.sections;
    return nullptr;
}

void SetPlain(ColorRGB& first, ColorRGB& second, float& opacity, FaceImage*& image)
{
    first = ColorRGB{};
    second = ColorRGB{};
    opacity = 1.0f;
    image = nullptr;
}

// Owners of kind 1 that follow each other with one parent form a group; others stand alone.
int32_t GroupEnd(const LoopType& type, int32_t start, int kind, OwnerCallbacks* callbacks)
{
    int32_t end = start + 1;
    if (kind != kOwnerKindCallbacks || !callbacks || !type.mOwners[start].mOwner)
        return end;
    const void* parent = callbacks->GetOwnerParent(type.mOwners[start].mOwner);
    while (end < type.mOwnerCount && type.mOwners[end].mOwner &&
           callbacks->GetOwnerParent(type.mOwners[end].mOwner) == parent)
        ++end;
    return end;
}

bool Differs(const ColorRGB& a, const ColorRGB& b)
{
    return a.r != b.r || a.g != b.g || a.b != b.b;
}

void AddScaled(ColorRGB& sum, const ColorRGB& c, float w)
{
    sum.r += w * c.r;
    sum.g += w * c.g;
    sum.b += w * c.b;
}

float Clamp01(float v)
{
    if (std::isnan(v) || v < 0.0f)
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

void MoveTowards(ColorRGB& c, float target, float amount)
{
    c.r += (target - c.r) * amount;
    c.g += (target - c.g) * amount;
    c.b += (target - c.b) * amount;
}
}  // namespace

bool LoopTypeOwner::GetColors(int kind, OwnerCallbacks* callbacks, ColorRGB& first, ColorRGB& second,
                              float& opacity, FaceImage*& image) const
{
    if (!mOwner)
    {
        SetPlain(first, second, opacity, image);
        return true;
    }
    if (kind == kOwnerKindCallbacks)
    {
        if (!callbacks)
        {
            SetPlain(first, second, opacity, image);
            return true;
        }
        // The colours are given before the question whether the owner is hidden.
        ColorRGB color;
        float alpha = 1.0f;
        callbacks->GetOwnerColor(mOwner, color, alpha);
        first = second = color;
        opacity = alpha;
        image = nullptr;
        return !callbacks->IsOwnerHidden(mOwner);
    }
    const DiagramOwnerQueries* queries = QueriesFor(kind);
    if (queries && queries->getColors)
        return queries->getColors(mOwner, first, second, opacity, image);
    SetPlain(first, second, opacity, image);
    return true;
}

bool LoopTypeOwner::IsHidden(int kind, OwnerCallbacks* callbacks) const
{
    if (!mOwner)
        return false;
    if (kind == kOwnerKindCallbacks)
        return callbacks && callbacks->IsOwnerHidden(mOwner);
    const DiagramOwnerQueries* queries = QueriesFor(kind);
    return queries && queries->isHidden && queries->isHidden(mOwner);
}

bool LoopTypeOwner::IsSelected(int kind, OwnerCallbacks* callbacks) const
{
    if (!mOwner)
        return false;
    if (kind == kOwnerKindCallbacks)
        return callbacks && callbacks->IsOwnerSelected(mOwner);
    const DiagramOwnerQueries* queries = QueriesFor(kind);
    return queries && queries->isSelected && queries->isSelected(mOwner);
}

bool LoopType::CalcColor(uint32_t options, int kind, OwnerCallbacks* callbacks)
{
    const PolygonFillOptions& fill = GetPolygonFillOptions();
    const bool modulo2 = (options & PolygonFillOptions::kModulo2) != 0;
    const bool single = (options & PolygonFillOptions::kSingleNewColor) != 0;
    const bool smallest = !single && (options & PolygonFillOptions::kSmallestOnTop);
    const bool blend = !single && !smallest && (options & PolygonFillOptions::kBlend);
    mImageOwner = nullptr;
    mColor1 = ColorRGB{};
    mColor2 = ColorRGB{};
    float transparency = 1.0f;
    float weightSum = 0.0f;
    int32_t n = 0;
    int64_t windingSum = 0;

    for (int32_t start = 0; start < mOwnerCount;)
    {
        const int32_t end = GroupEnd(*this, start, kind, callbacks);
        int64_t s = 0;
        ColorRGB first, second;
        float opacity = 1.0f;
        FaceImage* image = nullptr;
        for (int32_t i = start; i < end; ++i)
            if (mOwners[i].GetColors(kind, callbacks, first, second, opacity, image))
                s += mOwners[i].mCount;
        const void* last = mOwners[end - 1].mOwner;
        start = end;
        if (s == 0 || (modulo2 && s % 2 == 0))
            continue;

        if (!mImageOwner && image)
            mImageOwner = last;
        windingSum += s;
        const int64_t l = std::llabs(s);
        transparency *= std::pow(1.0f - opacity, float(l));
        if (single)
        {
            ++n;
            if (n == 1)
            {
                mColor1 = first;
                mColor2 = second;
            }
            else
            {
                if (Differs(first, mColor1))
                    mColor1 = fill.mSingleNewColor;
                if (Differs(second, mColor2))
                    mColor2 = fill.mSingleNewColor;
            }
        }
        else if (smallest)
        {
            if (++n == 1)
            {
                mColor1 = first;
                mColor2 = second;
            }
        }
        else
        {
            float w = 1.0f;
            if (options & PolygonFillOptions::kDenseWeighting)
            {
                n += int32_t(l);
                w = float(l);
            }
            else
                ++n;
            if (blend)
            {
                w *= opacity;
                weightSum += w;
                AddScaled(mColor1, first, w);
                AddScaled(mColor2, second, w);
            }
        }
    }

    if (n == 0)
    {
        mOpacity = 0.0f;
        return false;
    }
    if ((options & PolygonFillOptions::kCancel) && (windingSum == 0 || (modulo2 && windingSum % 2 == 0)))
    {
        mOpacity = 0.0f;
        return false;
    }
    mOpacity = 1.0f - transparency;

    if (blend && (n > 1 || weightSum < 0.9999f || weightSum > 1.0001f))
    {
        for (ColorRGB* c : {&mColor1, &mColor2})
        {
            c->r /= weightSum;
            c->g /= weightSum;
            c->b /= weightSum;
        }
        const bool lighten = (options & PolygonFillOptions::kLighten) != 0;
        const bool darken = (options & PolygonFillOptions::kDarken) != 0;
        if ((lighten || darken) && !modulo2)
        {
            const float amount = float(1.0 - std::pow(1.0 - fill.mDensityFactor, double(n - 1)));
            const float target = darken ? 0.0f : 1.0f;
            MoveTowards(mColor1, target, amount);
            MoveTowards(mColor2, target, amount);
        }
    }
    for (ColorRGB* c : {&mColor1, &mColor2})
    {
        c->r = Clamp01(c->r);
        c->g = Clamp01(c->g);
        c->b = Clamp01(c->b);
    }
    return true;
}

bool LoopType::IsSelected(int kind, OwnerCallbacks* callbacks) const
{
    for (int32_t start = 0; start < mOwnerCount;)
    {
        const int32_t end = GroupEnd(*this, start, kind, callbacks);
        int64_t s = 0;
        for (int32_t i = start; i < end; ++i)
            if (!mOwners[i].IsHidden(kind, callbacks))
                s += mOwners[i].mCount;
        if (s != 0 && mOwners[end - 1].IsSelected(kind, callbacks))
            return true;
        start = end;
    }
    return false;
}

float LoopType::SelectedFraction(int kind, OwnerCallbacks* callbacks) const
{
    int64_t selected = 0;
    int64_t visible = 0;
    for (int32_t i = 0; i < mOwnerCount; ++i)
    {
        if (mOwners[i].IsHidden(kind, callbacks))
            continue;
        visible += mOwners[i].mCount;
        if (mOwners[i].IsSelected(kind, callbacks))
            selected += mOwners[i].mCount;
    }
    return visible == 0 ? 0.0f : float(double(selected) / double(visible));
}

const void* LoopType::NextOwner(int kind, OwnerCallbacks* callbacks) const
{
    if (mOwnerCount <= 0)
        return nullptr;
    int32_t start = mOwnerCount > 1 ? 1 : 0;
    for (int32_t i = 0; i < mOwnerCount; ++i)
        if (mOwners[i].IsSelected(kind, callbacks))
        {
            start = i;
            break;
        }
    for (int32_t step = 1; step <= mOwnerCount; ++step)
    {
        const LoopTypeOwner& o = mOwners[(start + step) % mOwnerCount];
        if (!o.IsHidden(kind, callbacks) && !o.IsSelected(kind, callbacks))
            return o.mOwner;
    }
    return mOwners[start].mOwner;
}

bool LoopType::GetColor(ColorRGB& out, bool forceWhite, bool firstColor, int kind, OwnerCallbacks* callbacks) const
{
    const ColorRGB& chosen = firstColor ? mColor1 : mColor2;
    const ColorRGB white{1.0f, 1.0f, 1.0f};
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (IsSelected(kind, callbacks))
    {
        const bool switchedOff = drawer.UseDefaultLights(false);
        if (forceWhite)
            out = white;
        else
        {
            const float f = SelectedFraction(kind, callbacks);
            out = chosen;
            MoveTowards(out, 1.0f, f);
        }
        return switchedOff;
    }
    out = forceWhite || drawer.AllWhiteMode() ? white : chosen;
    return false;
}

LoopType* NewLoopTypes(int count, DiagramWorkPools& pools)
{
    if (count <= 0)
        return nullptr;
    LoopType* types = pools.mLoopTypes.Alloc(uint32_t(count));
    if (!types)
        return nullptr;
    for (int i = 0; i < count; ++i)
        types[i] = LoopType{};
    return types;
}

LoopTypeTriangles* NewLoopTypeTriangles(int count, DiagramWorkPools& pools)
{
    if (count <= 0)
        return nullptr;
    LoopTypeTriangles* triangles = pools.mTriangles.Alloc(uint32_t(count));
    if (!triangles)
        return nullptr;
    for (int i = 0; i < count; ++i)
        triangles[i] = LoopTypeTriangles{};
    return triangles;
}

void CalcAllColors(LoopType* loopTypes, int count, uint32_t options, int kind, OwnerCallbacks* callbacks)
{
    TraceScope scope("CalcAllColors");
    if (!loopTypes)
        return;
    if (kind == kOwnerKindSections)
        if (const auto color = GetDiagramModelHooks().colorSections)
            color();
    for (int i = 0; i < count; ++i)
        loopTypes[i].CalcColor(options, kind, callbacks);
}
