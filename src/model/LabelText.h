#pragma once

#include <cstddef>
#include <string>

class FaceVert;
class Poly;

// The text of one element label built over its members: type and element numbers as the label
// bits ask, texts, and colour markup that brings back the parts concerning the selection. The
// texts are bounded by a buffer of kBufferSize; once the label is long it ends in ", ..." or "...".
// The numbers and markup of the member that starts just below the limit, and the markup closing a
// text that filled the buffer, come on top: kMaxLength leaves room for the longest of them (two
// 11-character numbers, the colour tag, ":<in>", "</in>" and "...").
class LabelText
{
public:
    static constexpr size_t kBufferSize = 1012;
    static constexpr size_t kMaxLength = kBufferSize + 64;

    // typeBit and numberBit: the label bits that ask for type numbers and element numbers.
    LabelText(const Poly* poly, int typeBit, int numberBit);

    // Appends the member's part; false once the label has ended.
    bool AddMember(const FaceVert* member);
    const char* Text() const { return mText.c_str(); }
    bool Empty() const { return mText.empty(); }
    // Empties the label for the next member (an exploded view labels each member on its own).
    void Clear();

private:
    const Poly* mPoly;
    bool mTypes;
    bool mNumbers;
    bool mEnded = false;
    bool mPreviousHadText = false;
    std::string mText;
};
