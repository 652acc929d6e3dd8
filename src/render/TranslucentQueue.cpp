#include "render/TranslucentQueue.h"

#include "kernel/ChunkPool.h"
#include "kernel/FaceImage.h"
#include "kernel/RadixSort.h"
#include "kernel/SceneDrawer.h"
#include "render/OpenGLView.h"

#include <GL/gl.h>

namespace
{
struct QueuedTriangle
{
    Vec3D corners[3];
    Vec3D centroid;
    Vec3D normal;
    Vec3D texPoints[3];
    float color[4] = {0, 0, 0, 0};
    FaceImage* image = nullptr;
    FaceTexMapping mapping;
    bool hasTexPoints = false;
    bool hasMapping = false;
    float key = 0.0f;
    QueuedTriangle* next = nullptr;
};

struct Queue
{
    ChunkPool<QueuedTriangle> pool{1024};
    QueuedTriangle* before = nullptr;
    QueuedTriangle* sorted = nullptr;
    QueuedTriangle* sortedTail = nullptr;
    QueuedTriangle* after = nullptr;
    int sortedCount = 0;
    int allCount = 0;
    int maxDepth = 4;
    float tolerance = 0.05f;
};

Queue& TheQueue()
{
    static Queue queue;
    return queue;
}

void DrawQueuedTriangle(OpenGLView* view, const QueuedTriangle& t)
{
    const FaceTexMapping* mapping = t.hasMapping ? &t.mapping : nullptr;
    const Vec3D* texPoints = t.hasTexPoints ? t.texPoints : nullptr;
    const bool alphaImage = t.image && t.image->HasAlphaChannel();
    if (!view || (t.color[3] >= 1.0f && !t.image))
    {
        DrawTexturedTriangle(t.corners, t.normal, t.color, t.image, mapping, texPoints, 0);
        return;
    }
    const int savedBlend = view->GetBlendMode();
    // First the blended surface without highlights, then the highlights alone on top of it.
    view->SetMaterialSpecular(0.0f);
    view->SetBlendMode(t.color[3] < 1.0f || alphaImage ? 2 : 0);
    DrawTexturedTriangle(t.corners, t.normal, t.color, t.image, mapping, texPoints, 0);
    view->SetMaterialSpecular(0.5f);
    const float black[4] = {0.0f, 0.0f, 0.0f, t.color[3]};
    view->SetBlendMode(3);
    DrawTexturedTriangle(t.corners, t.normal, black, nullptr, nullptr, nullptr, 0);
    view->SetBlendMode(savedBlend);
}

void DrawList(OpenGLView* view, const QueuedTriangle* t)
{
    for (; t; t = t->next)
        DrawQueuedTriangle(view, *t);
}
}  // namespace

bool TranslucentQueue::AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags,
                                   double scale, FaceImage* image, const FaceTexMapping* mapping,
                                   const Vec3D* texPoints)
{
    if (image && mapping && !texPoints)
        texPoints = corners;
    Vec3D scaled[3];
    for (int i = 0; i < 3; ++i)
        Vec3Scale(scaled[i], corners[i], scale);

    OpenGLView* view = OpenGLView::GetCurrentGLView();
    Queue& q = TheQueue();
    QueuedTriangle* t = nullptr;
    if (!DrawsTriangleAtOnce(rgba, flags, image, view && view->IsPicking()))
        t = q.pool.Alloc(1);
    if (!t)
    {
        DrawTexturedTriangle(scaled, normal, rgba, image, mapping, texPoints, 0);
        return true;
    }
    for (int i = 0; i < 3; ++i)
        t->corners[i] = scaled[i];
    Vec3Add(t->centroid, scaled[0], scaled[1]);
    Vec3AddTo(t->centroid, scaled[2]);
    Vec3Scale(t->centroid, t->centroid, 1.0 / 3.0);
    t->normal = normal;
    for (int i = 0; i < 4; ++i)
        t->color[i] = rgba[i];
    t->image = image;
    t->hasTexPoints = texPoints != nullptr;
    if (texPoints)
        for (int i = 0; i < 3; ++i)
            t->texPoints[i] = texPoints[i];
    t->hasMapping = mapping != nullptr;
    if (mapping)
        t->mapping = *mapping;
    t->next = nullptr;

    if (view && view->GetExplodeScale() < 1.0)
        flags &= ~(kTriangleQueueBefore | kTriangleQueueAfter);
    if (flags & kTriangleQueueBefore)
    {
        t->next = q.before;
        q.before = t;
    }
    else if (flags & kTriangleQueueAfter)
    {
        t->next = q.after;
        q.after = t;
    }
    else
    {
        if (q.sortedTail)
            q.sortedTail->next = t;
        else
            q.sorted = t;
        q.sortedTail = t;
        ++q.sortedCount;
    }
    ++q.allCount;
    return false;
}

void FlushTranslucentQueue()
{
    Queue& q = TheQueue();
    if (!q.before && !q.sorted && !q.after)
        return;
    OpenGLView* view = OpenGLView::GetCurrentGLView();
    if (view)
        view->SetBlendMode(2);
    DrawList(view, q.before);
    if (q.sorted)
    {
        // Farther from the eye: smaller key, drawn first.
        const Vec3D eye = view ? view->GetCurrentEyePosition() : Vec3D{0, 0, 1e6};
        for (QueuedTriangle* t = q.sorted; t; t = t->next)
        {
            Vec3D d;
            Vec3Sub(d, t->centroid, eye);
            t->key = float(-Vec3LengthSq(d));
        }
        RadixSort sorter;
        QueuedTriangle* last = nullptr;
        QueuedTriangle* first = sorter.SortList(q.sorted, uint32_t(q.sortedCount), 0, &QueuedTriangle::key,
                                                [](QueuedTriangle* t) { return t->key; }, &QueuedTriangle::next,
                                                static_cast<QueuedTriangle* QueuedTriangle::*>(nullptr), &last);
        DrawList(view, first ? first : q.sorted);
    }
    DrawList(view, q.after);
    if (view)
        view->SetBlendMode(0);
    ResetTranslucentQueue();
}

void ResetTranslucentQueue()
{
    Queue& q = TheQueue();
    q.before = q.sorted = q.sortedTail = q.after = nullptr;
    q.sortedCount = q.allCount = 0;
    q.pool.Reset();
}

void ReleaseTranslucentQueue()
{
    ResetTranslucentQueue();
    TheQueue().pool.Free();
}

int CountQueuedTriangles()
{
    return TheQueue().sortedCount;
}

int CountAllQueuedTriangles()
{
    return TheQueue().allCount;
}

void SetOutputTriangleQuality()
{
    TheQueue().maxDepth = 6;
    TheQueue().tolerance = 0.01f;
}

void SetScreenTriangleQuality()
{
    TheQueue().maxDepth = 4;
    TheQueue().tolerance = 0.05f;
}

int GetTriangleSubdivisionMaxDepth()
{
    return TheQueue().maxDepth;
}

float GetTriangleSubdivisionTolerance()
{
    return TheQueue().tolerance;
}
