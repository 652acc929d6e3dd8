#pragma once

#include "kernel/ColorRGB.h"

#include <string>

class Edge;
class FaceVert;
class Poly;

// Root of the elements of a Poly: its faces and vertices (FaceVert) and its edge records (Edge).
// Never made by itself. The static functions accept any element; those that say so accept null.
class PolyElement
{
public:
    virtual ~PolyElement() = default;
    PolyElement(const PolyElement&) = delete;
    PolyElement& operator=(const PolyElement&) = delete;

    virtual bool IsEdge() const { return false; }
    virtual Edge* AsEdge() { return nullptr; }
    virtual FaceVert* AsFaceVert() { return nullptr; }
    const Edge* AsEdge() const { return const_cast<PolyElement*>(this)->AsEdge(); }
    const FaceVert* AsFaceVert() const { return const_cast<PolyElement*>(this)->AsFaceVert(); }

    // A vertex of the model as shown (a face when the dual is shown); false for null and edges.
    static bool IsVertInView(const PolyElement* element, bool showDual);
    // A face of the model as shown.
    static bool IsFaceInView(const PolyElement* element, bool showDual);
    // The owning Poly; an edge answers its first vertex's. Not for null.
    static Poly* GetPoly(const PolyElement* element);
    static bool IsHidden(const PolyElement* element, bool showDual);
    // Same face type or edge type; with mirror-image types counted as one, their mirrors too. Not
    // for null.
    static bool IsSameType(const PolyElement* a, const PolyElement* b);
    // Stores a copy of the text, none for a blank text, and keeps the owner's count of elements
    // with text. Not for null.
    static void SetText(PolyElement* element, const char* text);
    // The next face, vertex or edge of the same list (null after the last), with skipHidden the
    // next one not hidden. Not for null.
    static PolyElement* NextElement(PolyElement* element, bool skipHidden, bool showDual);
    // The element's colour; null stands for the default edge colour.
    static ColorRGB* GetColor(PolyElement* element);
    static void SetColor(PolyElement* element, const ColorRGB& color);

    bool HasText() const { return !mText.empty(); }
    // The text, null when there is none.
    const char* GetText() const { return mText.empty() ? nullptr : mText.c_str(); }

    ColorRGB mColor;
    std::string mText;  // never blank: empty means none

protected:
    PolyElement() = default;
};
