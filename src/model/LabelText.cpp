#include "model/LabelText.h"

#include "kernel/ColorRGB.h"
#include "kernel/ColorToHtml.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"

#include <algorithm>

namespace
{
constexpr size_t kEndBefore = 1004;  // a label this long takes no further member
constexpr size_t kEndAfter = 1010;   // a member that leaves the label this long ends it

bool ConcernsSelection(const Poly* poly, const FaceVert* m)
{
    if (!poly || !poly->mSelectedElement)
        return false;
    if (m == poly->mSelectedFace)
        return true;
    if (poly->mSelectedFace && m->HasNeighbour(poly->mSelectedFace))
        return true;
    const Edge* edge = poly->mSelectedElement->AsEdge();
    return edge && m->FindEdge(edge, -1) >= 0;
}
}  // namespace

LabelText::LabelText(const Poly* poly, int typeBit, int numberBit)
    : mPoly(poly), mTypes((GetDiagnosticLabelFlags() & typeBit) != 0),
      mNumbers((GetDiagnosticLabelFlags() & numberBit) != 0)
{
}

void LabelText::Clear()
{
    mText.clear();
    mEnded = false;
    mPreviousHadText = false;
}

bool LabelText::AddMember(const FaceVert* m)
{
    if (mEnded)
        return false;
    if (mText.size() > kEndBefore)
    {
        mText += ", ...";
        mEnded = true;
        return false;
    }
    if (!mText.empty())
    {
        mText += ',';
        if (mPreviousHadText)
            mText += '\n';
    }
    const bool highlight = ConcernsSelection(mPoly, m);
    if (highlight)
        mText += "<color=" + ColorToHtml(ColorRGB{1.0f, 1.0f, 1.0f}) + ">";
    const size_t partStart = mText.size();
    if (mTypes)
        mText += std::to_string(FaceType::GetNumber(m->mFaceType));
    if (mNumbers)
    {
        if (mText.size() > partStart)
            mText += '-';
        mText += std::to_string(FaceVert::GetNumber(m));
    }
    mPreviousHadText = m->HasText();
    if (mPreviousHadText)
    {
        const bool wrapped = mText.size() > partStart;
        if (wrapped)
            mText += ":<in>";
        // Only the text is bounded by the buffer; the markup after it has room of its own.
        const size_t room = mText.size() + 1 < kBufferSize ? kBufferSize - mText.size() - 1 : 0;
        const std::string_view text = m->GetText();
        mText.append(text.substr(0, std::min(room, text.size())));
        if (wrapped)
            mText += "</in>";
    }
    if (mText.size() >= kEndAfter)
    {
        mText += "...";
        mEnded = true;
        return false;
    }
    if (highlight)
        mText += "</font>";
    return true;
}
