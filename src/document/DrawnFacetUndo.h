#pragma once

#include "document/UndoItem.h"
#include "kernel/Vec3D.h"

#include <vector>

class Poly;

// The drawn facet polygons of the model, each as its points in drawing order. Applying it draws
// the stored polygons again in place of the model's.
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

// Some drawn facet polygon of the model has a point.
bool HasDrawnFacets(const Poly& poly);
