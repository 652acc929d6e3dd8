#pragma once

#include "document/UndoItem.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

class FaceImage;
class Poly;

// The items that keep the state a whole-model change does not carry in its plain copy: the applied
// subgroup, the reflexibility option and the drawn facets. Each also records a change of its own
// kind. As a side item of a whole-model change (a skip mark set) an item only puts back what it
// holds; otherwise it exchanges its state with the model's.

// The two subgroup choices of the model (rotational and reflective index; 0 and 0: the full group).
class SubSymmetryUndo : public UndoItem
{
public:
    // Null without a model.
    static SubSymmetryUndo* Capture();

    int32_t GetSize() const override { return 24; }
    bool Apply(bool undo) override;

    int GetStoredChoice(int i) const { return mChoice[i]; }

private:
    SubSymmetryUndo();
    int mChoice[2] = {0, 0};
};

// The "Maintain Reflexibility" option of the stellations.
class ReflexibilityUndo : public UndoItem
{
public:
    ReflexibilityUndo();

    int32_t GetSize() const override { return 36; }
    // Kept even when nothing changed: the option itself was the change.
    bool CloseUndo() override { return true; }
    bool Apply(bool undo) override;

    bool GetStoredOption() const { return mMaintain; }

private:
    bool mMaintain;
};

// The drawn facet polygons of the model, each as its points in drawing order.
class DrawnFacetUndo : public UndoItem
{
public:
    struct Polygon
    {
        std::vector<Vec3D> points;
        bool open = false;  // the polygon still being drawn
    };

    // Null without a model.
    static DrawnFacetUndo* Capture();
    // Polygons with at least one point.
    static std::vector<Polygon> CapturePolygons(const Poly& poly);

    int32_t GetSize() const override;
    bool Apply(bool undo) override;

    const std::vector<Polygon>& GetStoredPolygons() const { return mPolygons; }

private:
    DrawnFacetUndo();
    std::vector<Polygon> mPolygons;
};

// The image of every face and vertex (faces first), each with the element its placement follows by
// index. The item holds one user of every image it keeps.
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

// Some drawn facet polygon of the model has a point.
bool HasDrawnFacets(const Poly& poly);
// A subgroup of the full group is applied.
bool HasSubSymmetry(const Poly& poly);
