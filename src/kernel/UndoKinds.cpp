#include "kernel/UndoKinds.h"

namespace
{
const char* const kNames[kUndoKindCount] = {
    "Create New Model",
    "Open Built-in Model",
    "Augmentation",
    "Models on Faces",
    "Faceting",
    "Retrieve from Memory",
    "Add from Memory",
    "Add to Dual",
    "Add Enantiomorphs",
    "Delete Part",
    "Keep Part",
    "Convex Hull",
    "Convex Core",
    "Stellation Planes",
    "Subdivide Faces",
    "Project onto Sphere",
    "Geodesic Sphere",
    "Zonohedrify",
    "Blend Faces",
    "Create Waterman polyhedron",
    "Create Block",
    "Non-uniform Scale",
    "Convert to Base Model",
    "Create Spring Model",
    "Change Centre",
    "Go To Variation",
    "Change of Scale",
    "Color Change",
    "Faceting Change",
    "Stellation Change",
    "Dual Stellation Change",
    "Sub-Symmetry",
    "Maintain Reflexibility Change",
    "File-Open",
    "Open Tour Item",
    "4D Truncation",
    "4D Rectification",
    "4D Expansion",
    "Uniform Polychoron Creation",
    "4D Prism",
    "4D Duoprism",
    "4D Antiduoprism",
    "4D Step Prism",
    "4D Segmentatope",
    "Apply Image",
    "Image Swap",
    "Image Move",
    "Image Scale",
    "Image Rotate",
    "Image Stretch",
    "Image Unstretch",
    "Image Fit",
    "Image Flip",
    "Image Projection",
    "Image Orientation",
    "Image Wrap",
    "Border Color Change",
    "Project Onto Each Face",
    "Keep Image Upright",
    "Use Color with Image",
    "Image Options",
};
}  // namespace

const char* UndoKindName(int kind)
{
    return kind >= 0 && kind < kUndoKindCount ? kNames[kind] : "operation";
}

bool IsWholeModelUndoKind(int kind)
{
    return (kind >= 0 && kind <= 25) || (kind >= 33 && kind <= 43);
}

bool IsOpenUndoKind(int kind)
{
    return kind == 29 || kind == 30 || kind == 32 || kind == 33 || kind == 34 || (kind >= 46 && kind <= 59);
}
