#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryEntry.h"
#include "model/CompoundPart.h"
#include "model/MemorySlots.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SectionPolygon.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "operations/PickedPoints.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <string>

namespace
{
// The shell calls these tests look for, on top of the recording shell's.
class ModelShell : public RecordingShell
{
public:
    void ModelDimensionChanged(bool entering4D) override
    {
        calls.push_back(entering4D ? "Enter4D" : "Leave4D");
    }
    void UpdateAllViewButtons() override { calls.push_back("ViewButtons"); }
    void* PrepareTransitionOfType(int preset) override
    {
        calls.push_back("Prepare " + std::to_string(preset));
        return transitionRecord;
    }
    void StartTransitionOfType(int preset, double, void*, bool, bool) override
    {
        calls.push_back("Start " + std::to_string(preset));
    }
    void RefreshDocument(int flags) override { calls.push_back("Refresh " + std::to_string(flags)); }

    void* transitionRecord = nullptr;
};

// A document's list of records, registered for the life of the fixture.
class Document
{
public:
    Document()
    {
        records.mCurrent = records.NewRecord();
        SetDocumentModelRecords(&records);
    }
    ~Document() { SetDocumentModelRecords(nullptr); }
    Poly& Current() { return records.mCurrent->mPoly; }

    ModelRecordList records;
};

// Keeps the model scale that a 4D model changes.
class ScaleGuard
{
public:
    ScaleGuard() : mScale(GetUnitSettings().GetScale()) {}
    ~ScaleGuard() { GetUnitSettings().mScale = mScale; }

private:
    double mScale;
};

LibraryEntry MakeEntry(const char* symbol, const char* name, const char* dualNames, const char* page,
                       uint32_t flags = 0, int n = 0, int d = 0)
{
    LibraryEntry e{};
    e.mSymbol = symbol;
    e.mCategory = 0;
    e.mNumber = n;
    e.mPage1 = d;
    e.mFlags = flags;
    e.mName = name;
    e.mOtherNames = "";
    e.mDualNames = dualNames;
    e.mWythoff = "";
    e.mDescription = "A description.";
    e.mPageName = page;
    return e;
}

// A model with something in every owned member.
void FillEverything(Poly& poly)
{
    BuildPoly(poly, CubeSpec(), true);
    poly.SetBaseName("Cube");
    poly.SetDualName("Octahedron");
    poly.SetComments("comment");
    poly.SetLink("https://example.org/cube");
    poly.SetSpringDesc("springs");
    PolyElement::SetText(poly.mFaces.mFirst, "a face");
    PolyElement::SetText(poly.GetEdge(0), "an edge");
    poly.mFirstPart = poly.mLastPart = new CompoundPart;
    poly.mGroup = SymGroup::Create(SymGroup::kOctahedral);
    poly.mFullGroup = SymGroup::Create(SymGroup::kOctahedral);
    Stellation* side = poly.GetFaceStellation();
    FaceType* type = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        e->mFaceType = type;
    poly.mSectionPolygons = new SectionPolygon(4);
    poly.mSectionPolygons->mNext = new SectionPolygon(3);
    Vec3D p{1, 2, 3};
    AddRingVert(0.0, 0.0, nullptr, &p, poly.mCurrentDrawnPolygon->mRing);
    new Polygon3D(poly.mFirstDrawnPolygon, poly.mCurrentDrawnPolygon);
    poly.mFacetedModel = std::make_unique<SimplePoly>(4, 4);
    poly.mFacetTable.push_back({poly.mFirstDrawnPolygon});
    poly.mFacetedGroup = SymGroup::Create(SymGroup::kTetrahedral);
    poly.mMorphPolytope = std::make_unique<Polytope4D>();
    poly.mMorphRatio = 0.25;
    poly.mAugmenter.mAddedModel = std::make_unique<SimplePoly>(3, 1);
    poly.mAugmenter.mFlags = 0x4000;
    poly.mFlags = Poly::kConvex | Poly::kKitYes;
    poly.mShowDual = true;
    poly.mSelectedEdge = poly.GetEdge(1);
    poly.mSelectedElement = poly.GetEdge(1);
    poly.mRadius = 3.0;
    poly.mTransitionEnd = 12.0;
    poly.mQueuedTransition.type = 3;
}

void ExpectInitial(const Poly& poly)
{
    EXPECT_EQ(poly.GetBaseName(), nullptr);
    EXPECT_EQ(poly.GetDualName(), nullptr);
    EXPECT_EQ(poly.GetComments(), nullptr);
    EXPECT_EQ(poly.GetLink(), nullptr);
    EXPECT_TRUE(poly.mSpringDesc.empty());
    EXPECT_EQ(poly.mPolytope, nullptr);
    EXPECT_EQ(poly.mMorphPolytope, nullptr);
    EXPECT_EQ(poly.mMorphRatio, 9.99999e99);
    EXPECT_EQ(poly.mDualMorphRatio, 9.99999e99);
    EXPECT_EQ(poly.mMatchingStatus, 0);
    EXPECT_EQ(poly.mFlags, 0u);
    EXPECT_TRUE(poly.mAnchorFree);
    EXPECT_EQ(poly.mFaces.mCount, 0);
    EXPECT_EQ(poly.mVerts.mCount, 0);
    EXPECT_EQ(poly.mFaces.mFirst, nullptr);
    EXPECT_EQ(poly.mNumEdges, 0);
    EXPECT_EQ(poly.mEdges.count, 0);
    EXPECT_EQ(poly.mNumEdgeTexts, 0);
    EXPECT_EQ(poly.mNumEdgeTypes, 0);
    EXPECT_EQ(poly.mFirstPart, nullptr);
    EXPECT_EQ(poly.mGroup, nullptr);
    EXPECT_EQ(poly.mFullGroup, nullptr);
    EXPECT_EQ(poly.GetFaceStellation()->mFirstFaceType, nullptr);
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, nullptr);
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(poly.mSelectedElement, nullptr);
    EXPECT_EQ(poly.mSelectedEdge, nullptr);
    EXPECT_EQ(poly.mDisplayScale, 1.0);
    EXPECT_EQ(poly.mMidRadius, 1.0);
    EXPECT_EQ(poly.mRadius, -1.0);
    EXPECT_EQ(poly.mSectionPolygons, nullptr);
    EXPECT_EQ(poly.mAugmenter.mAddedModel, nullptr);
    EXPECT_EQ(poly.mAugmenter.mFlags, 0u);
    // One empty drawn polygon, being entered.
    ASSERT_NE(poly.mFirstDrawnPolygon, nullptr);
    EXPECT_EQ(poly.mFirstDrawnPolygon, poly.mCurrentDrawnPolygon);
    EXPECT_EQ(poly.mFirstDrawnPolygon->mRing, nullptr);
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 1);
    EXPECT_EQ(poly.mFacetedModel, nullptr);
    EXPECT_TRUE(poly.mFacetTable.empty());
    EXPECT_EQ(poly.mCurrentFacet, -1);
    EXPECT_EQ(poly.mTransitionEnd, -1.0);
    EXPECT_EQ(poly.mTransitionProgress, 1.0);
    EXPECT_EQ(poly.mScaleTarget, 1.0);
    EXPECT_EQ(poly.mQueuedTransition.type, -1);
    EXPECT_EQ(poly.mTransition.type, TransitionSettings::kTypeDefault);
}
}  // namespace

TEST(PolyTest, ANewModelStartsFromItsInitialValues)
{
    Poly poly;
    ExpectInitial(poly);
    EXPECT_FALSE(poly.mShowDual);
}

TEST(PolyTest, ClearLeavesTheModelAsNew)
{
    Poly poly;
    FillEverything(poly);
    poly.Clear();
    ExpectInitial(poly);
    // Clearing is what every rebuild starts with, however often.
    FillEverything(poly);
    poly.Clear();
    ExpectInitial(poly);
}

// Run under the sanitizers: every owned member of a filled model goes with it.
TEST(PolyTest, BuildingAndDestroyingManyModelsLeavesNothingBehind)
{
    for (int i = 0; i < 1000; ++i)
    {
        auto poly = std::make_unique<Poly>();
        FillEverything(*poly);
        if (i % 2)
            poly->Clear();
    }
    EXPECT_EQ(RingVertPoolCount(), 0);
}

TEST(PolyTest, MakingAModelStartsTheMeasurementAfresh)
{
    PickedPoints* sets = GetPickedSets();
    sets[0].mCount = 2;
    sets[0].GetPoint(0) = Vec4D{1, 2, 3, 0};
    GetMeasurePoints()[1] = Vec4D{4, 5, 6, 0};
    MeasureSegment() = -1;
    MeasureAngle() = 0.5;
    Poly poly;
    EXPECT_EQ(sets[0].mCount, 0);
    EXPECT_FALSE(IsMeasurePointSet(sets[0].GetPoint(0)));
    EXPECT_FALSE(IsMeasurePointSet(GetMeasurePoints()[1]));
    EXPECT_EQ(MeasureSegment(), 0);
    EXPECT_EQ(MeasureAngle(), DBL_MAX);
}

TEST(PolyTest, NamesAreCopiesAndMarkTheModelInfo)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    Poly poly;
    std::string name = "Snub cube";
    poly.SetBaseName(name.c_str());
    name[0] = 'X';
    EXPECT_STREQ(poly.GetBaseName(), "Snub cube");
    poly.SetDualName("");
    EXPECT_EQ(poly.GetDualName(), nullptr);
    poly.SetComments(nullptr);
    poly.SetLink("  ");
    EXPECT_STREQ(poly.GetLink(), "  ");
    EXPECT_EQ(shell.Count("Info 15"), 4);

    poly.SetDualName("Pentagonal icositetrahedron");
    EXPECT_STREQ(poly.GetNameFor(false), "Snub cube");
    EXPECT_STREQ(poly.GetNameFor(true), "Pentagonal icositetrahedron");
    poly.mShowDual = true;
    EXPECT_STREQ(poly.GetNameFor(true), "Snub cube");
}

TEST(PolyTest, LibraryEntriesNameTheModel)
{
    struct Case
    {
        const char* name;
        LibraryEntry entry;
        const char* base;
        const char* dual;
        const char* link;
    };
    const uint32_t family = LibraryEntry::kParametricFamily;
    const Case kCases[] = {
        {"family name takes the parameter",
         MakeEntry("4.4.<N>", "N-gonal prism", "N-gonal bipyramid", "prisms.html", family, 5, 1), "5-gonal prism",
         "5-gonal bipyramid", "https://www.orvane.org/prisms.html"},
        {"a fraction for a star family",
         MakeEntry("4.4.<N>", "N-gonal prism", "Dual of prism; bipyramid", "", family, 5, 2), "5/2-gonal prism",
         "Dual of prism", nullptr},
        {"a name without the prefix stays",
         MakeEntry("3.3.3.<N>", "Antiprism family", "N-gonal trapezohedron", "HTTPS://Example.org/a", family, 7, 1),
         "Antiprism family", "N-gonal trapezohedron", "HTTPS://Example.org/a"},
        {"not a family", MakeEntry("4.4.<N>", "N-gonal prism", "", "p", 0, 6, 1), "N-gonal prism", nullptr,
         "https://www.orvane.org/p"},
        {"no parameter in the symbol", MakeEntry("4.4.6", "N-gonal prism", "", nullptr, family, 6, 1),
         "N-gonal prism", nullptr, nullptr},
        {"the first dual name only", MakeEntry("3.4.3.4", "Cuboctahedron", "Rhombic dodecahedron;RD", "  "),
         "Cuboctahedron", "Rhombic dodecahedron", nullptr},
    };
    Poly poly;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        poly.SetLink("old link");
        poly.SetFromLibraryEntry(&c.entry);
        EXPECT_EQ(poly.mLibraryEntry, &c.entry);
        EXPECT_EQ(GetLastLibraryEntry(), &c.entry);
        EXPECT_STREQ(poly.GetBaseName(), c.base);
        EXPECT_STREQ(poly.GetDualName(), c.dual);
        EXPECT_STREQ(poly.GetComments(), "A description.");
        EXPECT_STREQ(poly.GetLink(), c.link);
    }
    poly.SetFromLibraryEntry(nullptr);
    EXPECT_EQ(poly.mLibraryEntry, nullptr);
    EXPECT_EQ(poly.GetBaseName(), nullptr);
    EXPECT_EQ(poly.GetComments(), nullptr);
    EXPECT_NE(GetLastLibraryEntry(), nullptr);
}

TEST(PolyTest, TheNameIsTheConfigurationOrTheSymbol)
{
    Poly poly;
    EXPECT_EQ(poly.GetName(), "");
    LibraryEntry entry = MakeEntry("4.4.<N>", "N-gonal prism", "", "", LibraryEntry::kParametricFamily, 8, 3);
    poly.mLibraryEntry = &entry;
    EXPECT_EQ(poly.GetName(), "4.4.8/3");
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("3.5.3.5", false));
    poly.mTemplate = &templ;
    EXPECT_EQ(poly.GetName(), PolyTemplate::GetName(&templ));
    EXPECT_NE(poly.GetName().find('5'), std::string::npos);
    poly.mTemplate = nullptr;
}

TEST(PolyTest, ElementsAndEdgesByNumber)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    EXPECT_EQ(Poly::GetElement(&poly, 0), poly.mFaces.mFirst);
    EXPECT_EQ(Poly::GetElement(&poly, 5), poly.mFaces.mLast);
    EXPECT_EQ(Poly::GetElement(&poly, 6), poly.mVerts.mFirst);
    EXPECT_EQ(Poly::GetElement(&poly, 13), poly.mVerts.mLast);
    EXPECT_EQ(Poly::GetElement(&poly, 14), nullptr);
    EXPECT_EQ(Poly::GetElement(nullptr, 0), nullptr);
    EXPECT_EQ(poly.GetNthVert(3)->mIndex, 3);
    EXPECT_EQ(poly.GetNthFace(6), nullptr);
    EXPECT_EQ(poly.GetEdge(11), &poly.mEdges[11]);
    EXPECT_EQ(poly.GetEdge(12), nullptr);
    EXPECT_EQ(poly.GetEdge(-1), nullptr);
    // The edge count may be set before the edges exist.
    poly.FreeEdges();
    EXPECT_EQ(poly.GetEdge(0), nullptr);
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        for (int i = 0; i < e->mNumSides; ++i)
            EXPECT_EQ(e->mEdges[i], nullptr);
}

TEST(PolyTest, SideListsSwapForTheDual)
{
    Poly poly;
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    Stellation* own = nullptr;
    Stellation* other = nullptr;
    poly.GetSideLists(true, &faces, &verts, &own, &other);
    EXPECT_EQ(faces, &poly.mVerts);
    EXPECT_EQ(verts, &poly.mFaces);
    EXPECT_EQ(own, poly.GetVertStellation());
    EXPECT_EQ(other, poly.GetFaceStellation());
    poly.GetSideLists(false, &faces, nullptr, nullptr, &other);
    EXPECT_EQ(faces, &poly.mFaces);
    EXPECT_EQ(other, poly.GetVertStellation());
    EXPECT_EQ(poly.GetShownStellation(), poly.GetFaceStellation());
    poly.mShowDual = true;
    EXPECT_EQ(poly.GetShownStellation(), poly.GetVertStellation());
    EXPECT_EQ(poly.GetFaceStellation()->GetNext(), poly.GetVertStellation());
}

TEST(PolyTest, RadiusAndExtent)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    EXPECT_EQ(poly.GetRadius(), 1.0);  // no face types yet
    EXPECT_DOUBLE_EQ(poly.GetExtentAlong(Vec3D{2, 0, 0}, false), 2.0);
    EXPECT_DOUBLE_EQ(poly.GetExtentAlong(Vec3D{1, 1, 1}, false), 2.0 * std::sqrt(3.0));
    // The dual side's vertices are the face poles (+-1 on each axis).
    EXPECT_DOUBLE_EQ(poly.GetExtentAlong(Vec3D{0, 0, 1}, true), 2.0);
    EXPECT_EQ(poly.GetExtentAlong(Vec3D{0, 0, 0}, false), 0.0);

    // The radius is the largest pole distance over the first faces of the types, hemi ones skipped.
    Stellation* side = poly.GetFaceStellation();
    FaceType* near = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
    FaceType* far = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 1, 1));
    near->mFirstFace = poly.GetNthFace(0);
    far->mFirstFace = poly.GetNthFace(1);
    poly.GetNthFace(1)->mPoint = Vec3D{0, 0, 3};
    poly.GetNthFace(1)->mFlags |= FaceVert::kHemi;
    EXPECT_DOUBLE_EQ(poly.GetRadius(), 1.0);
    poly.mRadius = -1.0;
    poly.GetNthFace(1)->mFlags &= ~FaceVert::kHemi;
    EXPECT_DOUBLE_EQ(poly.GetRadius(), 3.0);
    poly.GetNthFace(1)->mPoint = Vec3D{0, 0, 4};
    EXPECT_DOUBLE_EQ(poly.GetRadius(), 3.0);  // cached
    SetInfinityRadiusMargin(0.5);
    poly.mHasPointsAtInfinity = true;
    EXPECT_DOUBLE_EQ(poly.GetRadius(), 3.5);
    SetInfinityRadiusMargin(0.0);
}

TEST(PolyTest, ClearingTheAnalysisDropsTypesAndGroup)
{
    Poly poly;
    FillEverything(poly);
    poly.GetNthFace(2)->mFlags |= FaceVert::kCoplanar;
    poly.GetNthFace(2)->mTypeOffset = 3;
    poly.ClearAnalysis();
    EXPECT_EQ(poly.mGroup, nullptr);
    EXPECT_NE(poly.mFullGroup, nullptr);
    EXPECT_EQ(poly.GetFaceStellation()->mFirstFaceType, nullptr);
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
    {
        EXPECT_EQ(e->mFaceType, nullptr);
        EXPECT_EQ(e->mTypeOffset, -1);
        EXPECT_FALSE(e->mFlags & FaceVert::kCoplanar);
    }
    EXPECT_EQ(poly.GetSymGroup(), poly.mFullGroup.get());
    poly.FreeEdges();
    EXPECT_EQ(poly.mSelectedEdge, nullptr);
    EXPECT_EQ(poly.mSelectedElement, nullptr);
    EXPECT_EQ(poly.mNumEdgeTexts, 0);
}

TEST(PolyTest, SelectingAFaceOrVertexPicksTheSideShown)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    Face* face = poly.GetNthFace(2);
    Vert* vert = poly.GetNthVert(4);

    poly.SelectFace(face, false);
    EXPECT_EQ(poly.mSelectedFace, face);
    EXPECT_EQ(poly.mSelectedElement, face);
    EXPECT_FALSE(poly.mShowDual);
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, face);
    const int redraws = shell.Count("InvalidateAll");
    poly.SelectFace(face, false);  // nothing new
    EXPECT_EQ(shell.Count("InvalidateAll"), redraws);

    poly.SelectFace(face, true);  // the face shown as a vertex of the dual
    EXPECT_TRUE(poly.mShowDual);
    poly.SelectFace(vert, true);
    EXPECT_FALSE(poly.mShowDual);
    EXPECT_EQ(poly.GetVertStellation()->mSelectedFace, vert);
    poly.SelectFace(vert, false);  // the selected element again, not as a vertex: nothing
    EXPECT_FALSE(poly.mShowDual);
    poly.SelectFace(poly.GetNthVert(5), false);  // a vertex shown as a face of the dual
    EXPECT_TRUE(poly.mShowDual);
    poly.SelectFace(vert, true);

    // Deleting the selected element drops the selection.
    poly.mVerts.Remove(vert);
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(poly.mSelectedElement, nullptr);
    EXPECT_EQ(poly.GetVertStellation()->mSelectedFace, nullptr);
}

TEST(PolyTest, ShowingAPolytopeMakesAFourDModel)
{
    ScaleGuard scaleGuard;
    ModelShell shell;
    ScopedShell scope(&shell);
    Document doc;
    Poly& poly = doc.Current();
    BuildPoly(poly, CubeSpec(), true);
    poly.SetBaseName("Cube");
    GetUnitSettings().SetScale(8.0, false);

    auto polytope = std::make_unique<Polytope4D>();
    polytope->mFlags |= Polytope4D::kNotOrientable | Polytope4D::kNoFiniteDual;
    polytope->mScale = 0.5;
    polytope->mMidRadius = 1.25;
    Polytope4D* shown = polytope.get();
    shell.calls.clear();
    poly.SetPolytope4D(std::move(polytope), 0);
    EXPECT_EQ(poly.mPolytope.get(), shown);
    EXPECT_EQ(poly.mFaces.mCount, 0);  // the 3D model went
    EXPECT_EQ(poly.GetBaseName(), nullptr);
    EXPECT_EQ(poly.mFlags, Poly::kIs4D | Poly::kOneSided);
    EXPECT_TRUE(poly.mHasPointsAtInfinity);
    EXPECT_EQ(poly.mMidRadius, 1.25);
    EXPECT_EQ(shown->mScale, 1.0);
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 4.0);
    EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingFinished);
    EXPECT_EQ(shell.Count("Enter4D"), 1);
    EXPECT_EQ(shell.Count("ViewButtons"), 1);
    EXPECT_GE(shell.Count("Info 15"), 1);
    EXPECT_TRUE(poly.IsCompound() == false);
    EXPECT_EQ(poly.GetRadius(), Polytope4D::GetRadius(shown));

    // Kept scale: the model scale stays, the polytope's is still reset.
    auto second = std::make_unique<Polytope4D>();
    second->mScale = 3.0;
    shell.calls.clear();
    poly.SetPolytope4D(std::move(second), Poly::kKeepScale);
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 4.0);
    EXPECT_EQ(poly.mPolytope->mScale, 1.0);
    EXPECT_EQ(shell.Count("Enter4D"), 0);  // still 4D

    // Back to 3D.
    poly.SetPolytope4D(nullptr, 0);
    EXPECT_EQ(poly.mPolytope, nullptr);
    EXPECT_EQ(poly.mFlags, 0u);
    EXPECT_EQ(shell.Count("Leave4D"), 1);

    // A model that is not the current one tells no view.
    Poly other;
    shell.calls.clear();
    other.SetPolytope4D(std::make_unique<Polytope4D>(), Poly::kKeepScale);
    EXPECT_EQ(shell.Count("Enter4D"), 0);
    EXPECT_EQ(shell.Count("Info 15"), 0);
    other.Clear();
    EXPECT_EQ(other.mPolytope, nullptr);
}

TEST(PolyTest, SetModelFromPolytopeWrapsTheChange)
{
    ScaleGuard scaleGuard;
    ModelShell shell;
    ScopedShell scope(&shell);
    Document doc;
    SetModelFromPolytope4D(-1, std::make_unique<Polytope4D>(), Poly::kKeepScale, "Tesseract", "  ");
    EXPECT_NE(doc.Current().mPolytope, nullptr);
    EXPECT_STREQ(doc.Current().GetBaseName(), "Tesseract");
    EXPECT_EQ(doc.Current().GetDualName(), nullptr);
    EXPECT_EQ(shell.Count("Refresh 0"), 1);
    EXPECT_EQ(shell.Count("Undo -1"), 0);
    const int kind = 0;
    const int preset = UndoKindTransitionPreset(kind);
    ASSERT_GE(preset, 0);
    int dummy = 0;
    shell.transitionRecord = &dummy;
    shell.calls.clear();
    SetModelFromPolytope4D(kind, std::make_unique<Polytope4D>(), Poly::kKeepScale, "Cell", nullptr);
    ASSERT_GE(shell.calls.size(), 4u);
    EXPECT_EQ(shell.calls.front(), "Undo " + std::to_string(kind));
    EXPECT_EQ(shell.calls[1], "Prepare " + std::to_string(preset));
    EXPECT_EQ(shell.Count("Start " + std::to_string(preset)), 1);
    EXPECT_EQ(shell.calls.back(), "Refresh 0");
}

TEST(ModelRecordTest, RecordsJoinAtTheEndAndNameTheCurrentModel)
{
    EXPECT_EQ(GetCurrentPoly(), nullptr);
    EXPECT_EQ(GetCurrentTemplate(), nullptr);
    EXPECT_EQ(GetCurrentModel3D(), nullptr);
    ModelRecordList records;
    ModelRecord* first = records.NewRecord();
    EXPECT_EQ(records.mFirst, first);
    EXPECT_EQ(records.mLast, first);
    ModelRecord* second = records.NewRecord();
    EXPECT_EQ(records.mFirst, first);
    EXPECT_EQ(records.mLast, second);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(second->mScene.morphRatio, 0.5);
    EXPECT_EQ(second->mScene.netShrink4D, 1.0);
    EXPECT_EQ(second->mViews[5].mViewType, -1);
    EXPECT_EQ(second->mViews[5].mState, nullptr);
    EXPECT_EQ(second->mViews[5].mExplosion, 1.0);
    EXPECT_EQ(second->mScene.sliceMatrix.At(3, 3), 1.0);

    EXPECT_EQ(GetCurrentPoly(), nullptr);  // not registered yet
    SetDocumentModelRecords(&records);
    EXPECT_EQ(GetCurrentPoly(), nullptr);  // no current record
    records.mCurrent = first;
    EXPECT_EQ(GetCurrentPoly(), &first->mPoly);
    EXPECT_EQ(GetCurrentTemplate(), &first->mTemplate);
    EXPECT_FALSE(IsNewestModelPoly(&first->mPoly));
    EXPECT_TRUE(IsNewestModelPoly(&second->mPoly));

    // A 4D polytope asks the current model which side it shows.
    first->mPoly.mShowDual = true;
    auto tope = std::make_unique<Polytope4D>();
    tope->mCurrentVert = tope->NewVert(nullptr);
    EXPECT_EQ(tope->GetCurrentVert(false), nullptr);  // the dual's, and it has no dual
    EXPECT_EQ(tope->GetCurrentVert(true), tope->mCurrentVert);
    first->mPoly.mShowDual = false;
    EXPECT_EQ(tope->GetCurrentVert(false), tope->mCurrentVert);

    records.DeleteRecord(first);
    EXPECT_EQ(records.mCurrent, nullptr);
    EXPECT_EQ(records.mFirst, second);
    EXPECT_EQ(GetCurrentPoly(), nullptr);
    first = records.NewRecord();
    first->mFirstThrow = new SavedMouseThrow;
    first->mFirstThrow->mNext = new SavedMouseThrow;
    records.mCurrent = first;
    EXPECT_EQ(GetCurrentModel3D(), nullptr);  // no mesh built for it
}

TEST(ModelRecordTest, TheDocumentsListUnregistersWhenItGoes)
{
    {
        Document doc;
        doc.records.NewRecord();
        EXPECT_EQ(GetDocumentModelRecords(), &doc.records);
    }
    EXPECT_EQ(GetDocumentModelRecords(), nullptr);
    auto records = std::make_unique<ModelRecordList>();
    records->mCurrent = records->NewRecord();
    SetDocumentModelRecords(records.get());
    records.reset();
    EXPECT_EQ(GetDocumentModelRecords(), nullptr);
    EXPECT_EQ(GetCurrentPoly(), nullptr);
}

TEST(MemorySlotsTest, MenuTexts)
{
    ClearMemorySlots();
    EXPECT_EQ(GetMemoryText(0), "Memory 1 (Empty)");

    auto cube = std::make_unique<SimplePoly>(8, 6);
    cube->mNumVerts = 8;
    cube->mNumFaces = 6;
    cube->mName = "  ";
    SetMemorySlot(2, std::move(cube));
    EXPECT_EQ(GetMemoryText(2), "Memory 3 (6 faces, 8 verts)");

    auto tesseract = std::make_unique<SimplePoly>();
    auto polytope = std::make_unique<Polytope4D>();
    polytope->mNumCells = 8;
    polytope->mNumVerts = 16;
    tesseract->InitFromPolytope4D(std::move(polytope), false);
    SetMemorySlot(8, std::move(tesseract));
    EXPECT_EQ(GetMemoryText(8), "Memory 9 (8 cells, 16 verts)");

    auto named = std::make_unique<SimplePoly>();
    named->mName = "Great dodecahedron";
    SetMemorySlot(4, std::move(named));
    EXPECT_EQ(GetMemoryText(4), "Memory 5 (Great dodecahedron)");

    // "Memory 5 (" is 10 characters: with 5 more for the tail, a name of 193 reaches 208.
    struct Case
    {
        size_t length;
        size_t kept;
        bool cut;
    };
    for (const Case& c : {Case{192, 192, false}, Case{193, 193, true}, Case{400, 193, true}})
    {
        SCOPED_TRACE(c.length);
        auto model = std::make_unique<SimplePoly>();
        model->mName = std::string(c.length, 'n');
        SetMemorySlot(4, std::move(model));
        const std::string text = GetMemoryText(4);
        EXPECT_EQ(text, "Memory 5 (" + std::string(c.kept, 'n') + (c.cut ? "...)" : ")"));
        EXPECT_LT(text.size(), 208u);
    }
    SetMemorySlot(4, nullptr);
    EXPECT_EQ(GetMemoryText(4), "Memory 5 (Empty)");
    EXPECT_EQ(GetMemorySlot(9), nullptr);
    ClearMemorySlots();
    EXPECT_EQ(GetMemorySlot(2), nullptr);
}

TEST(CompoundPartTest, EulerCharacteristicAndGenus)
{
    CompoundPart sphere;
    sphere.mNumVerts = 8;
    sphere.mNumFaces = 6;
    sphere.mNumEdges = 12;
    EXPECT_EQ(sphere.GetEulerCharacteristic(), 2);
    EXPECT_EQ(sphere.GetGenus(), 0);
    CompoundPart torus;  // the smallest polyhedral torus has 7 vertices, 21 edges, 14 faces
    torus.mNumVerts = 7;
    torus.mNumEdges = 21;
    torus.mNumFaces = 14;
    EXPECT_EQ(torus.GetGenus(), 1);
    CompoundPart projectivePlane;  // the hemi-cube: 4 vertices, 6 edges, 3 faces
    projectivePlane.mNumVerts = 4;
    projectivePlane.mNumEdges = 6;
    projectivePlane.mNumFaces = 3;
    projectivePlane.mFlags = CompoundPart::kOneSided;
    EXPECT_EQ(projectivePlane.GetGenus(), 1);

    Poly poly;
    EXPECT_FALSE(poly.IsCompound());
    poly.mFirstPart = poly.mLastPart = new CompoundPart;
    EXPECT_FALSE(poly.IsCompound());
    poly.mLastPart = poly.mFirstPart->mNext = new CompoundPart;
    EXPECT_TRUE(poly.IsCompound());
    EXPECT_EQ(poly.GetNumParts(), 2);
    EXPECT_EQ(poly.GetNthPart(1), poly.mLastPart);
    EXPECT_EQ(poly.GetNthPart(2), nullptr);
    EXPECT_EQ(poly.GetNthPart(-1), nullptr);
}
