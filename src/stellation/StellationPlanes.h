#pragma once

#include "kernel/LinkNode.h"

#include <memory>
#include <optional>
#include <string>

class SimplePoly;
class Stellation;

// The columns of a plane row.
inline constexpr int kPlaneX = 0;
inline constexpr int kPlaneY = 1;
inline constexpr int kPlaneZ = 2;
inline constexpr int kPlaneRadius = 3;
inline constexpr int kPlaneColumns = 4;

// The column heads, also used in messages: "X", "Y", "Z", "Radius".
const char* PlaneColumnName(int column);

// One plane of the Stellation Planes table: the points p with p . unit(X, Y, Z) = Radius, Radius in
// the current distance unit. A column holds the text the user typed, or none when the program set
// its number; the values follow the texts only when the table is evaluated.
class PlaneEquation : public LinkNode<PlaneEquation>
{
public:
    PlaneEquation() = default;
    // A new row: texts "0", "0", "1", "1".
    static std::unique_ptr<PlaneEquation> CreateDefault();
    // A row without texts.
    static std::unique_ptr<PlaneEquation> CreateFromValues(double x, double y, double z, double radius);
    std::unique_ptr<PlaneEquation> Clone() const;

    std::optional<std::string> mText[kPlaneColumns];
    double mValue[kPlaneColumns] = {0.0, 0.0, 0.0, 0.0};
};

// A doubly linked list of rows, owning them.
class PlaneList
{
public:
    PlaneList() = default;
    ~PlaneList() { Clear(); }
    PlaneList(const PlaneList&) = delete;
    PlaneList& operator=(const PlaneList&) = delete;

    void Append(std::unique_ptr<PlaneEquation> row);
    // Unlinks and frees the row, which must be one of this list's.
    void Delete(PlaneEquation* row);
    void Clear();
    // Row k (0-based); null outside.
    PlaneEquation* At(int k) const;
    // Appends a copy of every row of the other list, in order.
    void AppendCopies(const PlaneList& other);

    PlaneEquation* mFirst = nullptr;
    PlaneEquation* mLast = nullptr;
    int mCount = 0;
};

// The program-wide clipboard of copied rows: it outlives the dialog until ClearPlaneClipboard, which
// the main window calls at shut-down.
PlaneList& GetPlaneClipboard();
void ClearPlaneClipboard();

// The stellation's face planes as rows, in face-type order: a type that is a coplanar copy, or whose
// mirror type comes earlier, is left out. Radius is the plane's distance times the model scale.
void CollectStellationPlanes(const Stellation& stellation, double modelScale, PlaneList& out);

// Evaluates every typed column, in row order and X, Y, Z, Radius within a row, into the values.
// False at the first text that does not evaluate, or for a row whose X, Y and Z are all zero (it
// has no normal), after telling the user which plane (0-based) it is.
bool EvaluatePlaneEquations(PlaneList& rows);

// What BuildPlanesSolid made besides the model.
struct PlanesSolidInfo
{
    int numTypes = 0;   // type numbers handed out: per row one, or two with a reflection
    int numShells = 0;  // pole hulls taken; more than one makes nested solids
};

// The solid the rows' planes enclose, every plane repeated by the rotations of the group of the
// kind (with the fold n for the dihedral and pyramidal kinds) and, unless reflection is Chiral, by
// its mirror image: the dual of the convex hull of the planes' poles, taken shell by shell. Each
// row's copies carry a type number of their own and its palette colour. The rows' values are used
// as they are (see EvaluatePlaneEquations). Null, after "Planes do not enclose any space.", when
// they bound no finite solid about the centre.
std::unique_ptr<SimplePoly> BuildPlanesSolid(const PlaneList& rows, int kind, int n, int reflection,
                                             PlanesSolidInfo* info = nullptr);
