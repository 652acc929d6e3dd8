#pragma once

#include "document/UndoItem.h"

#include <vector>

class FaceImage;

// The image of every face and vertex (faces first), each with the element its placement follows by
// index. The item holds one user of the image for every element it keeps it for.
class ImageUndo : public UndoItem
{
public:
    // Null without a model and for a 4D model, whose images sit on its cells.
    static ImageUndo* Capture(int kind);
    ~ImageUndo() override;

    int32_t GetSize() const override { return int32_t(mImages.size()) * 8 + 24; }
    bool Apply(bool undo) override;

private:
    explicit ImageUndo(int kind);

    struct Entry
    {
        FaceImage* image = nullptr;
        int owner = -1;  // the element that places the image, faces first; -1 for none of the model's
    };
    std::vector<Entry> mImages;
};
