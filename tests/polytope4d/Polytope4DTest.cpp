#include "Polytope4DFixtures.h"

#include "kernel/ColorRGB.h"
#include "kernel/ScriptedServices.h"
#include "model/ElementDisplayOptions.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

namespace
{
using Polytope4DTest = Polytope4DTestBase;
}  // namespace

TEST_F(Polytope4DTest, EmptyPolytope)
{
    Polytope4D p;
    EXPECT_EQ(p.mFlags, 0x1Eu);
    EXPECT_EQ(p.GetCell(0), nullptr);
    EXPECT_EQ(p.GetVert(-1), nullptr);
    EXPECT_EQ(p.GetDual(), nullptr);
    EXPECT_EQ(p.GetCurrentCell(true), nullptr);
    EXPECT_EQ(p.GetNumParts(), 0);
    EXPECT_EQ(p.GetGenus(), 1);
    EXPECT_DOUBLE_EQ(p.mScale, 1.0);
    EXPECT_DOUBLE_EQ(Polytope4D::GetRadius(nullptr), 1.0);
}

TEST_F(Polytope4DTest, NewVertexSnapsTinyComponents)
{
    Polytope4D p;
    const Vec4D pos{1e-8, 0.5, -3e-8, 1};
    Vert4D* v = p.NewVert(&pos);
    EXPECT_EQ(v->mPos.x, 0.0);
    EXPECT_EQ(v->mPos.y, 0.5);
    EXPECT_EQ(v->mPos.z, 0.0);
    EXPECT_EQ(v->mPos.w, 1.0);
    Vert4D* origin = p.NewVert(nullptr);
    EXPECT_EQ(origin->mPos.w, 0.0);
    EXPECT_EQ(Vert4D::GetIndex(origin), 1);
    EXPECT_EQ(p.GetVert(1), origin);
    EXPECT_EQ(p.mNumVerts, 2);
}

TEST_F(Polytope4DTest, SimplexStructure)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    EXPECT_EQ(p.mNumVerts, 5);
    EXPECT_EQ(p.mNumFaces, 10);
    EXPECT_EQ(p.mNumCells, 5);
    for (int f = 0; f < 10; ++f)
        EXPECT_EQ(p.GetFace(f)->mNumCells, 2) << "face " << f;
    // Every two cells of the simplex meet in a face.
    for (int c = 0; c < 5; ++c)
    {
        std::set<Cell4D*> neighbours;
        for (int i = 0; i < 4; ++i)
            neighbours.insert(p.GetCell(c)->GetNeighbour(i));
        EXPECT_EQ(neighbours.size(), 4u);
        EXPECT_FALSE(neighbours.count(p.GetCell(c)));
        EXPECT_FALSE(neighbours.count(nullptr));
    }
    // Replacing a face keeps both faces' cell counts right.
    Cell4D* cell = p.GetCell(0);
    Face4D* old = cell->mFaces[0];
    cell->SetFace(0, nullptr);
    EXPECT_EQ(old->mNumCells, 1);
    cell->SetFace(0, old);
    EXPECT_EQ(old->mNumCells, 2);

    // Genus from the parts: the simplex's boundary is a 3-sphere, genus 0.
    AddPart(p, p.GetCell(0), true);
    EXPECT_EQ(p.GetPart(0)->GetEulerCharacteristic(), 0);
    EXPECT_EQ(p.GetPart(0)->GetGenus(), 0);
    EXPECT_EQ(p.GetGenus(), 0);
    EXPECT_EQ(p.GetPart(1), nullptr);
}

TEST_F(Polytope4DTest, ScaleMovesPositionsCentresAndOffsets)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    Cell4D* cell = p.GetCell(0);
    cell->mCentre = {1, 1, 1, 1};
    cell->mRadius = 2.0;
    cell->mPlane.n = {0, 0, 0, 1};
    cell->mPlane.d = -0.5;
    p.Scale(1.00000001);
    EXPECT_EQ(p.GetVert(0)->mPos.x, 1.0);
    p.Scale(3.0);
    EXPECT_EQ(p.GetVert(0)->mPos.x, 3.0);
    EXPECT_EQ(p.GetVert(4)->mPos.w, 6.0);
    EXPECT_EQ(cell->mCentre.y, 3.0);
    EXPECT_EQ(cell->mRadius, 6.0);
    EXPECT_EQ(cell->mPlane.d, -1.5);
    EXPECT_EQ(cell->mPlane.n.w, 1.0);
}

TEST_F(Polytope4DTest, RadiusIsTheSizeHintUnlessIncomplete)
{
    Polytope4D p;
    p.mMidRadius = 2.5;
    EXPECT_DOUBLE_EQ(Polytope4D::GetRadius(&p), 2.5);
    for (uint32_t flag : {Polytope4D::kNoCellsFormed, Polytope4D::kNotClosed, Polytope4D::kNoFiniteDual})
    {
        p.mFlags |= flag;
        EXPECT_DOUBLE_EQ(Polytope4D::GetRadius(&p), 1.0);
        p.mFlags &= ~flag;
    }
}

TEST_F(Polytope4DTest, SelectingACellShowsItAndClearsTheRest)
{
    ScopedScriptedServices scope;
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    Selection4D& sel = GetSelection4D();
    sel.mVert = p.GetVert(0);
    Cell4D::Select(p.GetCell(2));
    EXPECT_EQ(sel.mCell, p.GetCell(2));
    EXPECT_EQ(sel.mVert, nullptr);
    EXPECT_EQ(p.mCurrentCell, p.GetCell(2));
    EXPECT_EQ(scope.services.statusText, "Selected base cell 3 (type 0, 4-hedron)");
    EXPECT_EQ(p.GetCurrentCell(true), p.GetCell(2));

    p.mFlags |= Polytope4D::kIsDual;
    Cell4D::Select(p.GetCell(4));
    EXPECT_EQ(scope.services.statusText, "Selected dual cell 5 (type 0, 4-hedron)");
    p.mFlags &= ~Polytope4D::kIsDual;

    Cell4D::Select(nullptr);
    EXPECT_EQ(sel.mCell, nullptr);
    EXPECT_EQ(p.GetCurrentCell(true), p.GetCell(4));  // the current cell stays
}

TEST_F(Polytope4DTest, DeletingElementsDropsSelectionAndCurrent)
{
    auto p = std::make_unique<Polytope4D>();
    AddSimplex(*p, 0.0, 0x0000FF);
    Cell4D::Select(p->GetCell(1));
    p->mCurrentVert = p->GetVert(3);
    p->Clear();
    EXPECT_EQ(GetSelection4D().mCell, nullptr);
    EXPECT_EQ(p->mCurrentVert, nullptr);
    EXPECT_EQ(p->mNumCells, 0);
    EXPECT_EQ(p->mFlags, 0x1Eu);
}

TEST_F(Polytope4DTest, ElementColours)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    options.mDefaultEdgeColor = {0.0f, 1.0f, 0.0f};
    options.mDefaultVertColor = {1.0f, 0.0f, 0.0f};
    EXPECT_EQ(Edge4D::GetColor(nullptr), 0x00FF00u);
    Polytope4D p;
    Vert4D* v = p.NewVert(nullptr);
    Edge4D* e = p.NewEdge(v, p.NewVert(nullptr));
    EXPECT_EQ(Edge4D::GetColor(e), 0x00FF00u);
    e->mColor = 0x123456;
    EXPECT_EQ(Edge4D::GetColor(e), 0x123456u);

    v->mColor = 0xABCDEF;
    options.mColorVertsSameAsDualFace = false;
    EXPECT_EQ(Vert4D::GetColor(v), 0x0000FFu);
    options.mColorVertsSameAsDualFace = true;
    EXPECT_EQ(Vert4D::GetColor(v), 0xABCDEFu);
    EXPECT_EQ(Vert4D::GetColor(nullptr), 0x0000FFu);
    EXPECT_EQ(p.NewCell(2)->mColor, 0x0000FFu);
}

TEST_F(Polytope4DTest, CopyKeepsPositionsColoursAndCurrentElements)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x00AA00);
    p.GetCell(3)->mFlags |= Element4D::kHidden;
    p.GetCell(2)->mOpacity = 0.5f;
    p.mCurrentCell = p.GetCell(2);
    p.mCurrentVert = p.GetVert(4);
    p.mScale = 4.0;
    p.mFlags |= Polytope4D::kNoCellsFormed;

    std::unique_ptr<Polytope4D> copy = Polytope4D::Copy(&p, 0);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->mNumVerts, 5);
    EXPECT_EQ(copy->mNumFaces, 10);
    EXPECT_EQ(copy->mNumCells, 5);
    EXPECT_EQ(copy->mScale, 4.0);
    EXPECT_TRUE(copy->mFlags & Polytope4D::kNoCellsFormed);
    EXPECT_TRUE(copy->mFlags & Polytope4D::kDualColored);
    EXPECT_EQ(copy->mCurrentCell, copy->GetCell(2));
    EXPECT_EQ(copy->mCurrentVert, copy->GetVert(4));
    EXPECT_TRUE(copy->GetCell(3)->mFlags & Element4D::kHidden);
    EXPECT_EQ(copy->GetCell(2)->mOpacity, 0.5f);
    for (int f = 0; f < 10; ++f)
    {
        for (int k = 0; k < 3; ++k)
        {
            const Vert4D* corner = copy->GetFace(f)->mVerts[k];
            ASSERT_EQ(corner->mOwner, copy.get());
            EXPECT_EQ(Vert4D::GetIndex(corner), Vert4D::GetIndex(p.GetFace(f)->mVerts[k]));
        }
        EXPECT_EQ(copy->GetFace(f)->mNumCells, 2);
    }
    EXPECT_EQ(copy->GetCell(0)->mColor, 0x00AA00u);
    EXPECT_EQ(Polytope4D::Copy(nullptr, 0), nullptr);
}

TEST_F(Polytope4DTest, KeepingOrDeletingOnePartOfACompound)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    AddSimplex(p, 10.0, 0x00FF00);
    AddPart(p, p.GetCell(0), true);
    AddPart(p, p.GetCell(5), true);
    p.mCurrentCell = p.GetCell(7);

    std::unique_ptr<Polytope4D> kept = Polytope4D::Copy(&p, Polytope4D::kCopyOnlyPart);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->mNumCells, 5);
    EXPECT_EQ(kept->mNumVerts, 5);
    EXPECT_EQ(kept->mNumFaces, 10);
    EXPECT_EQ(kept->GetCell(0)->mColor, 0x00FF00u);
    EXPECT_EQ(kept->GetVert(0)->mPos.w, 10.0);
    EXPECT_EQ(kept->mCurrentCell, kept->GetCell(2));

    std::unique_ptr<Polytope4D> rest = Polytope4D::Copy(&p, Polytope4D::kCopyWithoutPart);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->mNumCells, 5);
    EXPECT_EQ(rest->GetCell(4)->mColor, 0x0000FFu);
    EXPECT_EQ(rest->GetVert(4)->mPos.w, 2.0);
    EXPECT_EQ(rest->mCurrentCell, nullptr);

    // The source keeps no marks and numbers its elements afresh.
    for (int c = 0; c < 10; ++c)
        EXPECT_FALSE(p.GetCell(c)->mFlags & Element4D::kMark);
    EXPECT_EQ(Vert4D::GetIndex(p.GetVert(7)), 7);

    ScopedScriptedServices scope;
    Polytope4D single;
    AddSimplex(single, 0.0, 0x0000FF);
    AddPart(single, single.GetCell(0), true);
    single.mCurrentCell = single.GetCell(0);
    EXPECT_EQ(Polytope4D::Copy(&single, Polytope4D::kCopyOnlyPart), nullptr);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text, "Polytope only has one part");
}

TEST_F(Polytope4DTest, CompoundHoldsBothAtTheirSizes)
{
    Polytope4D a;
    AddSimplex(a, 0.0, 0x0000FF);
    a.mScale = 2.0;
    Polytope4D b;
    AddSimplex(b, 0.0, 0x00FF00);
    b.mScale = 3.0;
    std::unique_ptr<Polytope4D> both = Polytope4D::MakeCompound(&a, &b, false);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->mNumVerts, 10);
    EXPECT_EQ(both->mNumFaces, 20);
    EXPECT_EQ(both->mNumCells, 10);
    EXPECT_EQ(both->mScale, 1.0);
    EXPECT_EQ(both->GetVert(4)->mPos.w, 4.0);
    EXPECT_EQ(both->GetVert(9)->mPos.w, 6.0);
    EXPECT_EQ(Vert4D::GetIndex(both->GetFace(10)->mVerts[0]), 5);
    EXPECT_EQ(both->GetCell(9)->mColor, 0x00FF00u);
    for (int f = 0; f < 20; ++f)
        EXPECT_EQ(both->GetFace(f)->mNumCells, 2);

    std::unique_ptr<Polytope4D> one = Polytope4D::MakeCompound(&a, nullptr, false);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->mNumCells, 5);
}

TEST_F(Polytope4DTest, CurrentElementsFollowTheSideShown)
{
    Polytope4D base;
    AddSimplex(base, 0.0, 0x0000FF);
    auto* dual = new Polytope4D;
    AddSimplex(*dual, 0.0, 0x00FF00);
    base.mDual = dual;
    dual->mDual = &base;
    dual->mFlags |= Polytope4D::kIsDual;
    base.mCurrentCell = base.GetCell(1);
    dual->mCurrentCell = dual->GetCell(3);
    base.mCurrentVert = base.GetVert(2);
    base.mCurrentFace = base.GetFace(4);
    dual->mCurrentFace = dual->GetFace(7);

    EXPECT_EQ(base.GetCurrentCell(false), base.GetCell(1));
    EXPECT_EQ(base.GetCurrentFace(false), base.GetFace(4));
    EXPECT_EQ(base.GetDualIfBuilt(), dual);
    EXPECT_EQ(dual->GetDualIfBuilt(), nullptr);
    Polytope4D::SetShowsDualQuery([] { return true; });
    EXPECT_EQ(base.GetCurrentCell(false), dual->GetCell(3));
    EXPECT_EQ(base.GetCurrentFace(false), dual->GetFace(7));
    EXPECT_EQ(base.GetCurrentFace(true), base.GetFace(4));
    GetSelection4D().mFace = base.GetFace(9);
    EXPECT_EQ(base.GetCurrentFace(false), base.GetFace(9));  // the selection wins
    GetSelection4D().mFace = nullptr;
    EXPECT_EQ(base.GetCurrentCell(true), base.GetCell(1));
    EXPECT_EQ(base.GetCurrentVert(false), nullptr);  // the dual has no current vertex yet
    Polytope4D::SetShowsDualQuery(nullptr);

    // The dual's cells carry the colours back to the base's vertices of equal index.
    dual->GetCell(2)->mColor = 0x112233;
    dual->GetCell(2)->mOpacity = 0.25f;
    base.CopyColorsFromDual();
    EXPECT_EQ(base.GetVert(2)->mColor, 0x112233u);
    EXPECT_EQ(base.GetVert(2)->mOpacity, 0.25f);

    base.mFlags |= Polytope4D::kNoFiniteDual;
    EXPECT_EQ(base.GetDual(), nullptr);
    base.mFlags &= ~Polytope4D::kNoFiniteDual;
    EXPECT_EQ(base.GetDual(), dual);
    EXPECT_EQ(dual->GetDual(), &base);
    // Clearing the base deletes its dual (checked by the sanitizer build).
}

TEST_F(Polytope4DTest, EdgeEndsFollowCreationOrderWhateverTheAddresses)
{
    // Deleting and creating again lets later vertices reuse earlier addresses, so that creation and
    // address order part.
    Polytope4D p;
    std::vector<Vert4D*> created;
    for (int i = 0; i < 40; ++i)
    {
        const Vec4D pos{double(i), 0, 0, 0};
        created.push_back(p.NewVert(&pos));
        if (i % 3 == 2)
        {
            p.DeleteVert(created[created.size() - 2]);
            created.erase(created.end() - 2);
        }
    }
    for (size_t i = 0; i < created.size(); ++i)
        for (size_t j = i + 1; j < created.size(); ++j)
        {
            Vert4D* earlier = created[i];
            Vert4D* later = created[j];
            EXPECT_EQ(p.NewEdge(later, earlier)->mVerts[0], earlier);
            EXPECT_EQ(p.NewEdge(earlier, later)->mVerts[0], earlier);
        }
    // The edge vector then points from the earlier vertex to the later one in every run.
    Vec4D v;
    static_cast<Edge4D*>(p.mLastEdge)->GetVector(v);
    EXPECT_GT(v.x, 0.0);
}

TEST_F(Polytope4DTest, DeletionKeepsIndicesOnlyAtTheTail)
{
    struct DeleteCase
    {
        const char* name;
        uint32_t kind;
        int which;  // index of the element deleted
    };
    const DeleteCase kCases[] = {
        {"last vertex", Element4D::kVertKind, 4},  {"first vertex", Element4D::kVertKind, 0},
        {"middle vertex", Element4D::kVertKind, 2}, {"last face", Element4D::kFaceKind, 9},
        {"middle face", Element4D::kFaceKind, 3},   {"last cell", Element4D::kCellKind, 4},
        {"first cell", Element4D::kCellKind, 0},
    };
    const uint32_t kValid[4] = {Polytope4D::kVertIndicesValid, Polytope4D::kEdgeIndicesValid,
                                Polytope4D::kFaceIndicesValid, Polytope4D::kCellIndicesValid};
    for (const DeleteCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Polytope4D p;
        AddSimplex(p, 0.0, 0x0000FF);
        const int before[4] = {p.mNumVerts, 0, p.mNumFaces, p.mNumCells};
        Element4D* doomed = c.kind == Element4D::kVertKind   ? static_cast<Element4D*>(p.GetVert(c.which))
                            : c.kind == Element4D::kFaceKind ? static_cast<Element4D*>(p.GetFace(c.which))
                                                             : static_cast<Element4D*>(p.GetCell(c.which));
        const bool wasLast = doomed->next == nullptr;
        if (c.kind == Element4D::kVertKind)
            p.DeleteVert(static_cast<Vert4D*>(doomed));
        else if (c.kind == Element4D::kFaceKind)
            p.DeleteFace(static_cast<Face4D*>(doomed));
        else
            p.DeleteCell(static_cast<Cell4D*>(doomed));
        const int after[4] = {p.mNumVerts, 0, p.mNumFaces, p.mNumCells};
        EXPECT_EQ(after[c.kind], before[c.kind] - 1);
        EXPECT_EQ((p.mFlags & kValid[c.kind]) != 0, wasLast);
        // Whatever was deleted, the elements are numbered 0, 1, 2 ... along the list again, and
        // looked up by those numbers.
        Element4D* heads[4] = {p.mFirstVert, p.mFirstEdge, p.mFirstFace, p.mFirstCell};
        int i = 0;
        for (Element4D* e = heads[c.kind]; e; e = e->next, ++i)
        {
            if (c.kind == Element4D::kVertKind)
            {
                EXPECT_EQ(Vert4D::GetIndex(static_cast<Vert4D*>(e)), i);
                EXPECT_EQ(p.GetVert(i), e);
            }
            else if (c.kind == Element4D::kFaceKind)
            {
                EXPECT_EQ(Face4D::GetIndex(static_cast<Face4D*>(e)), i);
                EXPECT_EQ(p.GetFace(i), e);
            }
            else
            {
                EXPECT_EQ(Cell4D::GetNumber(static_cast<Cell4D*>(e)), i + 1);
                EXPECT_EQ(p.GetCell(i), e);
            }
        }
        EXPECT_EQ(i, after[c.kind]);
        EXPECT_TRUE(p.mFlags & kValid[c.kind]);
    }
}

TEST_F(Polytope4DTest, DeletingTheCurrentElementMakesTheFirstCurrent)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    p.mCurrentVert = p.GetVert(0);
    p.mCurrentFace = p.GetFace(6);
    p.mCurrentCell = p.GetCell(3);
    Cell4D::Select(p.GetCell(3));

    p.DeleteVert(p.GetVert(0));
    EXPECT_EQ(p.mCurrentVert, p.GetVert(0));
    EXPECT_EQ(p.mCurrentVert->mPos.y, 1.0);  // the old second vertex
    p.DeleteFace(p.GetFace(6));
    EXPECT_EQ(p.mCurrentFace, p.GetFace(0));
    p.DeleteCell(p.GetCell(3));
    EXPECT_EQ(p.mCurrentCell, p.GetCell(0));
    EXPECT_EQ(GetSelection4D().mCell, nullptr);

    // Deleting another element leaves the current one alone.
    Vert4D* current = p.mCurrentVert;
    p.DeleteVert(p.GetVert(2));
    EXPECT_EQ(p.mCurrentVert, current);
    // The last vertex gone, none is current.
    while (p.mFirstVert)
        p.DeleteVert(static_cast<Vert4D*>(p.mFirstVert));
    EXPECT_EQ(p.mCurrentVert, nullptr);
    EXPECT_EQ(p.mNumVerts, 0);
    EXPECT_EQ(p.GetVert(0), nullptr);
}

TEST_F(Polytope4DTest, OpacitySnapsAndCountsTranslucentCells)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    Cell4D* cell = p.GetCell(1);
    cell->SetOpacity(0.996f);
    EXPECT_EQ(cell->mOpacity, 1.0f);
    EXPECT_EQ(p.mNumTranslucentCells, 0);
    cell->SetOpacity(0.004f);
    EXPECT_EQ(cell->mOpacity, 0.0f);
    EXPECT_EQ(p.mNumTranslucentCells, 1);
    cell->SetOpacity(0.5f);  // still translucent: counted once
    EXPECT_EQ(p.mNumTranslucentCells, 1);
    p.GetCell(2)->SetOpacity(0.3f);
    EXPECT_EQ(p.mNumTranslucentCells, 2);
    cell->SetOpacity(1.0f);
    EXPECT_EQ(p.mNumTranslucentCells, 1);
    p.DeleteCell(p.GetCell(2));
    EXPECT_EQ(p.mNumTranslucentCells, 0);
}

TEST_F(Polytope4DTest, EmptyCellTakesFacesInOrder)
{
    Polytope4D p;
    std::vector<Face4D*> faces;
    for (int i = 0; i < 9; ++i)
        faces.push_back(p.NewFace(4));
    Cell4D* cell = p.NewEmptyCell();
    EXPECT_EQ(cell->mNumFaces, 0);
    for (Face4D* face : faces)
        cell->AddFace(face);
    ASSERT_EQ(cell->mNumFaces, 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(cell->mFaces[i], faces[size_t(i)]);
    EXPECT_EQ(faces[0]->mNumCells, 0);  // the completion gives faces their cells
    EXPECT_TRUE(cell->HasFace(faces[8]));
}

TEST_F(Polytope4DTest, FaceCellsGrowPastTwoAndCloseGaps)
{
    // A broken input: three cells name one face. Nothing may be written past the face's slots.
    Polytope4D p;
    Face4D* shared = p.NewFace(3);
    EXPECT_EQ(shared->GetNumCellSlots(), 2);
    Cell4D* cells[3];
    for (Cell4D*& cell : cells)
    {
        cell = p.NewCell(1);
        cell->SetFace(0, shared);
    }
    ASSERT_EQ(shared->mNumCells, 3);
    EXPECT_GE(shared->GetNumCellSlots(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(shared->mCells[i], cells[i]);
    EXPECT_EQ(cells[0]->GetNeighbour(0), nullptr);  // three cells: no single neighbour
    cells[1]->SetFace(0, nullptr);
    ASSERT_EQ(shared->mNumCells, 2);
    EXPECT_EQ(shared->mCells[0], cells[0]);
    EXPECT_EQ(shared->mCells[1], cells[2]);
    EXPECT_EQ(cells[0]->GetNeighbour(0), cells[2]);
    EXPECT_EQ(cells[2]->GetNeighbour(0), cells[0]);
    shared->ResetCells(5);
    EXPECT_EQ(shared->mNumCells, 0);
    EXPECT_EQ(shared->GetNumCellSlots(), 5);
    shared->ResetCells(0);
    EXPECT_EQ(shared->GetNumCellSlots(), 2);
    EXPECT_EQ(shared->mCells[1], nullptr);
}

TEST_F(Polytope4DTest, KindTestsAndListPositions)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    AddSimplexLinks(p);
    Element4D* elems[4] = {p.GetVert(3), p.GetEdge(7), p.GetFace(5), p.GetCell(2)};
    for (int kind = 0; kind < 4; ++kind)
    {
        SCOPED_TRACE(kind);
        Element4D* e = elems[kind];
        EXPECT_EQ(Element4D::IsVert(e), kind == 0);
        EXPECT_EQ(Element4D::IsEdge(e), kind == 1);
        EXPECT_EQ(Element4D::IsFace(e), kind == 2);
        EXPECT_EQ(Element4D::IsCell(e), kind == 3);
        EXPECT_EQ(Element4D::AsVert(e) != nullptr, kind == 0);
        EXPECT_EQ(Element4D::AsEdge(e) != nullptr, kind == 1);
        EXPECT_EQ(Element4D::AsFace(e) != nullptr, kind == 2);
        EXPECT_EQ(Element4D::AsCell(e) != nullptr, kind == 3);
    }
    EXPECT_FALSE(Element4D::IsCell(nullptr));
    EXPECT_EQ(Element4D::AsFace(nullptr), nullptr);
    // Counted along the list, whatever mIndex says.
    p.GetFace(5)->mIndex = 99;
    EXPECT_EQ(p.GetFace(5)->CountPosition(), 5);
    EXPECT_EQ(p.GetEdge(0)->CountPosition(), 0);
}

TEST_F(Polytope4DTest, CellHidingModeStartsWithFrontCellsAndRefusesOthers)
{
    EXPECT_EQ(GetCellHidingMode4D(), kCellHidingFront);
    SetCellHidingMode4D(kCellHidingBack);
    EXPECT_EQ(GetCellHidingMode4D(), kCellHidingBack);
    SetCellHidingMode4D(3);
    SetCellHidingMode4D(-1);
    EXPECT_EQ(GetCellHidingMode4D(), kCellHidingBack);
}
