#include "library/SceneStellationState.h"

#include "kernel/ColorRGB.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"

void SceneStellationState::Apply(Poly& /*poly*/, ElemList& list, Stellation& /*stellation*/) const
{
    if (faceTypeColorCount <= 0)
        return;
    const bool withBack = backFaceTypeColors.size() == size_t(faceTypeColorCount);
    const bool withFront = faceTypeColors.size() == size_t(faceTypeColorCount);
    for (FaceVert* e = list.mFirst; e; e = e->mNext)
    {
        // Types past the colours read keep their colour.
        const int type = FaceType::GetIndex(e->mFaceType);
        if (type < 0 || type >= faceTypeColorCount)
            continue;
        if (withFront)
            ColorFromRGB(e->mColor, faceTypeColors[size_t(type)]);
        if (withBack)
            ColorFromRGB(e->mBackColor, backFaceTypeColors[size_t(type)]);
    }
}
