#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class FaceImage;
class FaceVert;
class Poly;

// The faces or the vertices of a Poly, as an intrusive list: each element holds its list, its next
// and previous element and its index, which always equals its position. The list owns its elements
// and keeps the counts that the element code maintains.
class ElemList
{
public:
    // Flags (mFlags).
    static constexpr uint32_t kEmptying = 0x1;

    virtual ~ElemList();
    ElemList(const ElemList&) = delete;
    ElemList& operator=(const ElemList&) = delete;

    virtual bool IsFaceList() const = 0;

    // Links the element at the tail with the next index.
    void Append(FaceVert* element);
    // Unlinks the element, renumbers the later ones and deletes it.
    void Remove(FaceVert* element);
    // Deletes every element, last first, then resets the counts.
    void DeleteAll();
    void Renumber();
    // Null outside the list.
    FaceVert* GetNth(int i) const;
    // The vertex list when this is the Poly's face list; else null.
    ElemList* GetOtherList(Poly* poly) const;
    // The first element whose point equals the given one within 1e-7 per coordinate.
    FaceVert* FindAtPoint(const Vec3D& point) const;
    // The number of the edge on the element's side, numbering each edge once from its lower-index
    // end in list order; -1 when not found.
    int GetEdgeIndex(const FaceVert* element, int side) const;
    bool HasTexts() const { return mNumTexts > 0; }
    // Every element has the first one's colour exactly; true for an empty list.
    static bool AllSameColor(const ElemList* list);
    // Some element carries a face image other than the given one.
    bool HasOtherImage(const FaceImage* image) const;
    // Every element computes its winding density.
    void CalcDensities();

    // Drawing into the view that draws, with lighting off.
    void DrawNumbers(double s, double explosion) const;
    void DrawTextsOnFaces(double s, double explosion);
    // The labels of the elements at their points, as the vertices of the model shown; in an exploded
    // view once per element around each.
    void DrawTextLabels(Poly* poly, double s, double explosion);

    FaceVert* mFirst = nullptr;
    FaceVert* mLast = nullptr;
    uint32_t mFlags = 0;
    int32_t mCount = 0;
    int32_t mNumTexts = 0;        // elements that carry a text
    int32_t mNumTranslucent = 0;  // elements whose opacity is below 1
    double mMaxChordDistance = -1.0;  // -1: not computed

protected:
    ElemList() = default;

private:
    void ResetCounts();
};

class FaceList final : public ElemList
{
public:
    bool IsFaceList() const override { return true; }
};

class VertList final : public ElemList
{
public:
    bool IsFaceList() const override { return false; }
};
