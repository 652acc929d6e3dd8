#include "DiagramChecks.h"

#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "library/WenningerStellation.h"
#include "model/StellationOptions.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellGeometry.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationCells.h"
#include "stellation/StellationSettings.h"
#include "stellation/StellationSurface.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
Stellation* BuildStellation(BuiltModel& model, bool dual = false)
{
    Stellation* st = dual ? model.poly.GetVertStellation() : model.poly.GetFaceStellation();
    model.poly.CreateStellation(st, kStellationBuilt);
    return st;
}

std::vector<StellationCell*> Cells(const Stellation* st)
{
    std::vector<StellationCell*> cells;
    for (StellationCell* c = st->mFirstCell; c; c = c->next)
        cells.push_back(c);
    return cells;
}

// The real cells of each layer before the outer cell's.
std::vector<int> CellsPerLayer(const Stellation* st)
{
    std::vector<int> counts(size_t(st->GetNumCellLayers()), 0);
    for (const StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next)
        counts.at(size_t(c->mLayer->mNumber)) += c->GetNumCopies();
    return counts;
}

// Includes exactly the cells of the index runs.
void IncludeRuns(Stellation* st, const std::vector<StellationRun>& runs)
{
    for (StellationCell* c = st->mFirstCell; c; c = c->next)
    {
        bool in = false;
        for (const StellationRun& run : runs)
            in = in || (c->mIndex >= run.first && c->mIndex <= run.last);
        StellationCell::SetIncluded(c, in);
    }
}

// Restores the stellation options a test changes.
struct OptionsGuard
{
    int saved = GetStellationOptions();
    ~OptionsGuard() { StoreStellationOptions(saved); }
};

int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 10000;  // every step late enough to show the window and pump it
}

struct FakeClockScope
{
    ProgressClock previous = SetProgressClock(FakeClock);
    ~FakeClockScope() { SetProgressClock(previous); }
};

// Scripted services that run a hook on every pump of the progress window, and note which caption
// each pump went on to show.
class PumpingServices : public ScriptedServices
{
public:
    std::function<void()> onPump;
    std::vector<std::pair<int, std::string>> captions;  // the pump before, and the caption

    void UpdateProgressWindow(const ProgressDisplay& display) override
    {
        if (display.setCaption)
            captions.emplace_back(progressPumps - 1, display.caption);
        ScriptedServices::UpdateProgressWindow(display);
    }
    ProgressInput PumpProgressWindow() override
    {
        if (onPump)
            onPump();
        return ScriptedServices::PumpProgressWindow();
    }
    // The pump that comes just before the first caption starting with the text; -1 for none.
    int PumpBefore(const std::string& text) const
    {
        for (const auto& [pump, caption] : captions)
            if (caption.rfind(text, 0) == 0)
                return pump;
        return -1;
    }
};

struct ScopedPumpingServices
{
    PumpingServices services;
    UserServices* previous = SetServices(&services);
    ~ScopedPumpingServices() { SetServices(previous); }
};
}  // namespace

TEST(StellationCells, PlatonicSolidsHaveTheirPublishedCellLayers)
{
    const struct
    {
        const char* name;
        const char* config;
        std::vector<int> perLayer;  // real cells in layers 0, 1, ...
        int records;                // before the outer cell
    } kCases[] = {
        {"tetrahedron", "3.3.3", {1}, 1},
        {"cube", "4.4.4", {1}, 1},
        {"octahedron", "3.3.3.3", {1, 8}, 2},
        {"dodecahedron", "5.5.5", {1, 12, 30, 20}, 4},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = BuildStellation(*model);
        ASSERT_TRUE(st->IsBuilt());
        EXPECT_EQ(InternalErrors(scripted.services), "");
        EXPECT_EQ(st->GetNumCellLayers(), int(c.perLayer.size()));
        EXPECT_EQ(CellsPerLayer(st), c.perLayer);
        EXPECT_EQ(st->GetNumCellRecords(), c.records);
        int total = 0;
        for (int n : c.perLayer)
            total += n;
        EXPECT_EQ(st->GetNumCellsTotal(), total);
        // One record per class: none chiral under these groups' rotations.
        EXPECT_EQ(st->GetNumCellTypes(), c.records);
        EXPECT_EQ(st->GetNumReflexibleCellTypes(), c.records);
        EXPECT_EQ(st->GetNumReflexibleCellsTotal(), total);
        // The core counts once and is the original polyhedron; the outer cell is alone in the last
        // layer, stands for no cell and is never included.
        const StellationCell* core = st->mFirstCell;
        EXPECT_TRUE(core->mFlags & kCellCore);
        EXPECT_TRUE(core->IsIncluded());
        const StellationCell* outer = st->GetOuterCell();
        ASSERT_NE(outer, nullptr);
        EXPECT_EQ(outer->mIndex, c.records);
        EXPECT_EQ(outer->mLayer->mFirstCell, outer);
        EXPECT_EQ(outer->mLayer, st->mLastLayer);
        EXPECT_EQ(outer->mLayer->mNumber, st->GetNumCellLayers());
        EXPECT_EQ(outer->GetNumCopies(), 0);
        StellationCell::SetIncluded(st->GetOuterCell(), true);
        EXPECT_FALSE(outer->IsIncluded());
        // Every facet side has a cell, and each cell is its facets' cell on the right side.
        for (const FaceType* t : PlaneTypes(st))
            for (const StellationFacet* f = t->mFacets; f; f = f->next)
            {
                EXPECT_NE(f->mCellBelow, nullptr);
                EXPECT_NE(f->mCellAbove, nullptr);
            }
        for (const StellationCell* cell : Cells(st))
            for (int i = 0; i < cell->GetNumFacets(); ++i)
            {
                const StellationFacet* f = cell->mFacets[size_t(i)];
                EXPECT_EQ(i < cell->mNumLower ? f->mCellAbove : f->mCellBelow, cell);
                EXPECT_EQ(cell->mNeighbours[size_t(i)], i < cell->mNumLower ? f->mCellBelow : f->mCellAbove);
            }
        EXPECT_EQ(CountFreeFacetSideNodes(), 0);
    }
}

// The icosahedron's cells: 12 records in 8 layers; records 6 and 7 are the one chiral pair, as the
// published Wenninger runs use them (five tetrahedra take one of the pair, ten both).
TEST(StellationCells, IcosahedronCellsAgreeWithTheWenningerTable)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = BuildStellation(*model);
    ASSERT_TRUE(st->IsBuilt());
    EXPECT_EQ(InternalErrors(scripted.services), "");
    EXPECT_EQ(st->GetNumCellRecords(), 12);
    EXPECT_EQ(st->GetNumCellLayers(), 8);
    EXPECT_EQ(st->GetNumCellTypes(), 11);
    EXPECT_EQ(st->GetMaxCellTypesPerLayer(), 3);
    // The final stellation (Wenninger 42) runs over every record.
    const std::vector<StellationRun> final = GetWenningerStellationRuns(42);
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0].last, st->GetNumCellRecords() - 1);

    std::vector<int> chiral;
    for (StellationCell* c : Cells(st))
        if (c->GetMirror() != c)
        {
            chiral.push_back(c->mIndex);
            EXPECT_EQ(c->GetMirror()->GetMirror(), c);
            EXPECT_EQ(c->GetMirror()->mLayer, c->mLayer);
            EXPECT_EQ(c->GetNumCopies(), 60);
        }
    EXPECT_EQ(chiral, (std::vector<int>{6, 7}));
    EXPECT_TRUE(st->FindCell(6)->mFlags & kCellChiralFirst);
    EXPECT_TRUE(st->FindCell(7)->mFlags & kCellChiralSecond);
    EXPECT_EQ(StellationCell::GetIndexInLayer(st->FindCell(7)), 1);

    // The mirror image of a point inside cell 6's copy lies in a copy of cell 7.
    const std::vector<CellPlane> planes = GetCellPlanes(st);
    Vec3D p6, p7;
    ASSERT_TRUE(GetCellInteriorPoint(st->FindCell(6), planes, p6));
    ASSERT_TRUE(GetCellInteriorPoint(st->FindCell(7), planes, p7));
    Mat3 reflection;
    ASSERT_NE(model->poly.mGroup->GetReflectionMatrix(reflection), nullptr);
    Vec3D image;
    reflection.Transform(image, p6);
    bool found = false;
    SymOpIterator it;
    Mat3 turn;
    while (!found && model->poly.mGroup->NextOperation(it, true, &turn))
    {
        Vec3D q;
        turn.Transform(q, image);
        found = InSameCell(planes, q, p7);
    }
    EXPECT_TRUE(found);

    OptionsGuard options;
    StoreStellationOptions(0);
    IncludeRuns(st, GetWenningerStellationRuns(24));  // compound of five tetrahedra: chiral
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 1);
    IncludeRuns(st, GetWenningerStellationRuns(25));  // ten tetrahedra: both
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
}

TEST(StellationCells, CellsAboveEachAxisClassAreSelected)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("5.5.5");
    ASSERT_NE(model, nullptr);
    Stellation* st = BuildStellation(*model);
    ASSERT_TRUE(st->IsBuilt());
    // The dodecahedron's group: class 0 the 5-fold axes, 1 the 3-fold, 2 the 2-fold.
    const struct
    {
        int axisClass;
        int cells;
        int layer;
    } kCases[] = {{0, 12, 1}, {1, 20, 3}, {2, 30, 2}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.axisClass);
        st->SelectCellsAboveAxis(c.axisClass);
        EXPECT_EQ(st->GetNumIncludedCellsTotal(), c.cells);
        EXPECT_EQ(st->GetNumIncludedCells(), 1);
        EXPECT_FALSE(st->mFirstCell->IsIncluded());
        for (const StellationCell* cell : Cells(st))
        {
            if (cell->IsIncluded())
            {
                EXPECT_EQ(cell->mLayer->mNumber, c.layer);
            }
        }
    }
}

TEST(StellationCells, OriginalCellsAreWhatTheFacesEnclose)
{
    const struct
    {
        const char* name;
        const char* config;
        int lastOriginalLayer;
        int cells;
    } kCases[] = {
        // The star solids in the dodecahedron's planes.
        {"small stellated dodecahedron", "5/2.5/2.5/2.5/2.5/2", 1, 13},
        {"great dodecahedron", "(5.5.5.5.5)/2", 2, 43},
        {"great stellated dodecahedron", "5/2.5/2.5/2", 3, 63},
        // Convex solids: the core alone.
        {"tetrahedron", "3.3.3", 0, 1},
        {"cube", "4.4.4", 0, 1},
        {"octahedron", "3.3.3.3", 0, 1},
        {"dodecahedron", "5.5.5", 0, 1},
        {"icosahedron", "3.3.3.3.3", 0, 1},
        {"cuboctahedron", "3.4.3.4", 0, 1},
        {"truncated octahedron", "4.6.6", 0, 1},
        {"snub cube", "3.3.3.3.4", 0, 1},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = BuildStellation(*model);
        ASSERT_TRUE(st->IsBuilt());
        EXPECT_EQ(InternalErrors(scripted.services), "");
        EXPECT_EQ(st->GetNumIncludedCellsTotal(), c.cells);
        for (const StellationCell* cell : Cells(st))
        {
            if (cell != st->mLastCell)
            {
                EXPECT_EQ(bool(cell->mFlags & kCellOriginal), cell->mLayer->mNumber <= c.lastOriginalLayer)
                    << "cell " << cell->mIndex;
            }
        }
        EXPECT_TRUE(st->IsOriginal());
        EXPECT_EQ(st->mNumChangedCells, 0);
    }
}

TEST(StellationCells, SurfaceCornersAgreeWithPublishedVertexCounts)
{
    const struct
    {
        const char* name;
        const char* config;
        int lastLayer;  // cells of layers 0 up to it included; -1: as built
        int corners;
    } kCases[] = {
        {"tetrahedron", "3.3.3", -1, 4},
        {"cube", "4.4.4", -1, 8},
        {"icosahedron", "3.3.3.3.3", -1, 12},
        {"echidnahedron", "3.3.3.3.3", 99, 92},
        {"stella octangula", "3.3.3.3", 99, 14},
        {"small stellated dodecahedron", "5.5.5", 1, 32},
        {"great dodecahedron", "5.5.5", 2, 32},
        {"great stellated dodecahedron", "5.5.5", 3, 32},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = BuildStellation(*model);
        ASSERT_TRUE(st->IsBuilt());
        if (c.lastLayer >= 0)
            for (StellationCell* cell : Cells(st))
                StellationCell::SetIncluded(cell, cell->mLayer->mNumber <= c.lastLayer);
        EXPECT_EQ(MarkAllUsedSegVerts(st), c.corners);
        EXPECT_EQ(st->mNumUsedSegVerts, c.corners);
        EXPECT_EQ(InternalErrors(scripted.services), "");
    }
}

TEST(StellationCells, InclusionKeepsItsCountsAndTheSurface)
{
    OptionsGuard options;
    StoreStellationOptions(0);
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = BuildStellation(*model);
    ASSERT_TRUE(st->IsBuilt());
    EXPECT_TRUE(st->IsOriginal());

    // One cell in and out again.
    StellationCell* b = st->FindCell(1);
    StellationCell::SetIncluded(b, true);
    EXPECT_FALSE(st->IsOriginal());
    EXPECT_EQ(st->mNumChangedCells, 1);
    EXPECT_EQ(st->GetNumIncludedCells(), 2);
    EXPECT_EQ(st->GetNumIncludedCellsTotal(), 21);
    // The core's face is inside now; b's outer facets are the surface, seen from the front.
    const StellationFacet* face = st->mFirstCell->mFacets[0];
    EXPECT_EQ(face->GetSideClass(), kFacetSideInternal);
    for (int i = b->mNumLower; i < b->GetNumFacets(); ++i)
        EXPECT_EQ(b->mFacets[size_t(i)]->GetSideClass(), kFacetSideFront);
    StellationCell::SetIncluded(b, false);
    EXPECT_EQ(st->mNumChangedCells, 0);
    EXPECT_TRUE(st->IsOriginal());
    EXPECT_EQ(face->GetSideClass(), kFacetSideFront);

    // Excluding the core leaves nothing on the surface; the used list follows the flags.
    StellationCell::SetIncluded(st->mFirstCell, false);
    for (const FaceType* t : PlaneTypes(st))
        EXPECT_EQ(t->CountUsedFacets(), 0);
    st->ResetToOriginal();
    EXPECT_TRUE(st->IsOriginal());
    EXPECT_EQ(st->mNumChangedCells, 0);

    // A chiral cell alone is unmatched; its partner matches it.
    StellationCell* left = st->FindCell(6);
    StellationCell* right = left->GetMirror();
    ASSERT_NE(left, right);
    StellationCell::SetIncluded(left, true);
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 1);
    EXPECT_FALSE(right->IsIncluded());
    StellationCell::SetIncluded(right, true);
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
    StellationCell::SetIncluded(left, false);
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 1);
    st->ResetToOriginal();
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);

    // Keeping reflexibility, the partner goes with it.
    StoreStellationOptions(kCriteriaReflexible);
    StellationCell::SetIncluded(right, true);
    EXPECT_TRUE(left->IsIncluded());
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
    EXPECT_EQ(st->mNumChangedCells, 2);
    StellationCell::SetIncluded(left, false);
    EXPECT_FALSE(right->IsIncluded());
    EXPECT_EQ(st->mNumChangedCells, 0);

    // The flag copies of the inclusion.
    st->CopyIncludedToFlag(kCellDeadPocket);
    EXPECT_TRUE(st->MatchesFlag(kCellDeadPocket));
    StellationCell::SetIncluded(b, true);
    EXPECT_FALSE(st->MatchesFlag(kCellDeadPocket));
    st->ClearCellFlag(kCellDeadPocket);
    for (const StellationCell* c : Cells(st))
        EXPECT_FALSE(c->mFlags & kCellDeadPocket);
}

namespace
{
// Views of the net, of each side's stellation, of a stellation face and of the model, and what a
// cell change asks of them and of the undo list.
class CellChangeShell : public RecordingShell
{
public:
    void* NextView(void* view) override
    {
        int* next = view ? static_cast<int*>(view) + 1 : mViews;
        return next < std::end(mViews) ? next : nullptr;
    }
    int ViewTypeCode(void* view) override { return *static_cast<int*>(view); }
    void RequestViewFit(void* view, int mode) override
    {
        calls.push_back("Fit " + std::to_string(ViewTypeCode(view)) + " " + std::to_string(mode));
    }
    void CloseUndo() override { calls.push_back("Close"); }
    void RecordStelCellChange(StellationCell* cell, bool on) override
    {
        calls.push_back("Cell " + std::to_string(cell->mIndex) + (on ? " in" : " out"));
    }

private:
    int mViews[5] = {kViewTypeNet2D, kViewTypeUniStellation, kViewTypeDualStellation, kViewTypeStelFace, 0x4001};
};

struct AutoFrameGuard
{
    bool saved = GetStellationSettings().autoFrame;
    ~AutoFrameGuard() { GetStellationSettings().autoFrame = saved; }
};

std::string Fit(int code)
{
    return "Fit " + std::to_string(code) + " 1";
}
}  // namespace

TEST(StellationCells, ACellChangeGoesThroughTheShell)
{
    OptionsGuard options;
    AutoFrameGuard autoFrame;
    ScopedScriptedServices scripted;
    CellChangeShell shell;
    ScopedShell scopedShell(&shell);
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = BuildStellation(*model);
    ASSERT_TRUE(st->IsBuilt());

    // A chiral cell takes its partner along: each change is recorded and fits the nets and the
    // views of this side's stellation.
    StoreStellationOptions(kCriteriaReflexible);
    GetStellationSettings().autoFrame = true;
    shell.calls.clear();
    StellationCell::SetIncluded(st->FindCell(6), true);
    const std::vector<std::string> partner = {"Cell 7 in", Fit(kViewTypeNet2D), Fit(kViewTypeUniStellation),
                                              Fit(kViewTypeStelFace), "Info 2"};
    std::vector<std::string> expected = partner;
    expected[0] = "Cell 6 in";
    expected.insert(expected.begin(), partner.begin(), partner.end());
    EXPECT_EQ(shell.calls, expected);

    // Without auto-framing only the nets are fitted; a change to the state the cell has asks nothing.
    GetStellationSettings().autoFrame = false;
    StoreStellationOptions(0);
    shell.calls.clear();
    StellationCell::SetIncluded(st->FindCell(6), false);
    StellationCell::SetIncluded(st->FindCell(6), false);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"Cell 6 out", Fit(kViewTypeNet2D), "Info 2"}));

    // A selection is one undo item of its side.
    shell.calls.clear();
    st->SelectUnsupportableCells();
    ASSERT_GE(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls.front(), "Undo " + std::to_string(kUndoStellationChange));
    EXPECT_EQ(shell.calls.back(), "Close");
    Stellation* dual = BuildStellation(*model, true);
    ASSERT_TRUE(dual->IsBuilt());
    shell.calls.clear();
    dual->SelectCellsAboveAxis(0);
    ASSERT_GE(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls.front(), "Undo " + std::to_string(kUndoDualStellationChange));
    EXPECT_EQ(shell.calls.back(), "Close");
    EXPECT_EQ(InternalErrors(scripted.services), "");
}

TEST(StellationCells, UnsupportableCellsBorderTheOutsideBelow)
{
    int models = 0;
    for (const char* config : {"3.3.3.3.3", "3.3.3.3.4"})
    {
        SCOPED_TRACE(config);
        ScopedScriptedServices scripted;
        auto model = BuildModel(config);
        ASSERT_NE(model, nullptr);
        Stellation* st = BuildStellation(*model);
        ASSERT_TRUE(st->IsBuilt());
        int unsupportable = 0;
        for (const StellationCell* c : Cells(st))
        {
            bool belowOutside = false;
            for (int i = 0; i < c->mNumLower && c != st->mLastCell; ++i)
                belowOutside = belowOutside || c->mNeighbours[size_t(i)] == st->mLastCell;
            EXPECT_EQ(bool(c->mFlags & kCellUnsupportable), belowOutside) << "cell " << c->mIndex;
            unsupportable += belowOutside;
        }
        st->SelectUnsupportableCells();
        EXPECT_EQ(st->GetNumIncludedCells(), unsupportable);
        models += unsupportable > 0;
    }
    EXPECT_GT(models, 0);
}

TEST(StellationCells, ComplexityEstimatesTheBuild)
{
    ScopedScriptedServices scripted;
    auto icosahedron = BuildModel("3.3.3.3.3");
    auto cube = BuildModel("4.4.4");
    ASSERT_NE(icosahedron, nullptr);
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(icosahedron->poly.GetFaceStellation()->GetComplexity(), 163);
    EXPECT_EQ(cube->poly.GetFaceStellation()->GetComplexity(), 9);
    // Without a group each type counts one rotation: c = 1 / 3 - 2 = -2.
    icosahedron->poly.mGroup.reset();
    EXPECT_EQ(icosahedron->poly.GetFaceStellation()->GetComplexity(), 3);

    // Many types under a large group: capped just above the extreme level.
    Stellation* st = cube->poly.GetFaceStellation();
    for (int i = 0; i < 40; ++i)
        st->AppendFaceType(std::make_unique<FaceType>(&cube->poly, st, 1000 + i, st->GetNumFaceTypes()))->mNumRotations = 1;
    EXPECT_EQ(st->GetComplexity(), kComplexityExtreme + 1);

    const struct
    {
        int complexity;
        bool asks;
        const char* level;
    } kLevels[] = {
        {150000, false, "FAIR (probably safe, but may take a minute)"},
        {150001, true, "FAIR (probably safe, but may take a minute)"},
        {999999, true, "FAIR (probably safe, but may take a minute)"},
        {1000000, true, "HIGH (need fast computer with lots of memory)"},
        {2499999, true, "HIGH (need fast computer with lots of memory)"},
        {2500000, true, "EXTREME (pressing Cancel is recommended!)"},
        {2500001, true, "EXTREME (pressing Cancel is recommended!)"},
    };
    for (const auto& c : kLevels)
    {
        SCOPED_TRACE(c.complexity);
        EXPECT_EQ(Stellation::ComplexityNeedsQuestion(c.complexity), c.asks);
        EXPECT_STREQ(Stellation::GetComplexityLevelText(c.complexity), c.level);
    }
}

namespace
{
// Answers questions, noting what the build's flags said while each was open.
class QuestionServices : public ScriptedServices
{
public:
    std::vector<std::pair<bool, bool>> flagsSeen;  // warning open, model building suspended

    int AskQuestion(const QuestionRequest& request) override
    {
        flagsSeen.emplace_back(Stellation::IsComplexityWarningOpen(), IsModelBuildSuspended());
        return ScriptedServices::AskQuestion(request);
    }
};
}  // namespace

TEST(StellationCells, DecliningTheComplexityQuestionStopsLaterBuilds)
{
    QuestionServices services;
    UserServices* previous = SetServices(&services);
    RecordingShell shell;
    ScopedShell scopedShell(&shell);
    auto model = BuildModel("4.4.4");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    for (int i = 0; i < 40; ++i)
        st->AppendFaceType(std::make_unique<FaceType>(&model->poly, st, 1000 + i, st->GetNumFaceTypes()))->mNumRotations = 1;
    services.Clear();
    shell.calls.clear();
    ASSERT_TRUE(Stellation::ComplexityNeedsQuestion(st->GetComplexity()));

    model->poly.CreateStellation(st, kStellationBuilt);  // Enter: "+Cancel"
    ASSERT_EQ(services.CountCalls("Question"), 1);
    const ScriptedServices::Call* ask = services.LastCall("Question");
    EXPECT_EQ(ask->caption, "WARNING");
    EXPECT_EQ(ask->type, 5u);
    EXPECT_NE(ask->text.find("Complexity: EXTREME (pressing Cancel is recommended!)"), std::string::npos);
    EXPECT_NE(ask->text.find("this model may be too complex to stellate."), std::string::npos);
    ASSERT_EQ(services.flagsSeen.size(), 1u);
    EXPECT_TRUE(services.flagsSeen[0].first);
    EXPECT_TRUE(services.flagsSeen[0].second);
    EXPECT_FALSE(Stellation::IsComplexityWarningOpen());
    EXPECT_FALSE(IsModelBuildSuspended());
    EXPECT_EQ(st->mState, kStellationNotBuilt);
    EXPECT_TRUE(st->mBuildDeclined);
    EXPECT_NE(st->mFirstFaceType, nullptr);
    EXPECT_EQ(shell.calls, std::vector<std::string>{"Info 7"});

    // Nothing more until the face types are made again.
    model->poly.CreateStellation(st, kStellationBuilt);
    EXPECT_EQ(services.CountCalls("Question"), 1);
    EXPECT_EQ(st->mState, kStellationNotBuilt);
    st->Free(true);
    EXPECT_FALSE(st->mBuildDeclined);
    SetServices(previous);
}

TEST(StellationCells, CancellingAnyStageKeepsTheFaceTypesAndDeclines)
{
    FakeClockScope clock;
    const char* kStages[] = {
        "Creating stellation diagram", "Linking lines between face types", "Creating symmetric facets",
        "Joining coincident vertices", "Copying coplanar face type info.", "Setting hemi-self pointers.",
        "Creating 3D cells type", "Creating outer infinite cell.", "Identify cells above symmetry axes.",
        "Identify original cells.",
    };
    // A whole build first, to learn where each stage starts.
    int stagePumps[std::size(kStages)];
    {
        ScopedPumpingServices scripted;
        auto model = BuildModel("3.3.3.3.3");
        ASSERT_NE(model, nullptr);
        scripted.services.Clear();
        scripted.services.progressPumps = 0;
        ASSERT_TRUE(BuildStellation(*model)->IsBuilt());
        for (size_t i = 0; i < std::size(kStages); ++i)
        {
            stagePumps[i] = scripted.services.PumpBefore(kStages[i]);
            ASSERT_GE(stagePumps[i], 0) << kStages[i];
        }
    }
    for (size_t i = 0; i < std::size(kStages); ++i)
    {
        SCOPED_TRACE(kStages[i]);
        ScopedPumpingServices scripted;
        auto model = BuildModel("3.3.3.3.3");
        ASSERT_NE(model, nullptr);
        scripted.services.Clear();
        scripted.services.progressPumps = 0;
        scripted.services.cancelAtPump = stagePumps[i];
        Stellation* st = BuildStellation(*model);
        EXPECT_EQ(scripted.services.progressPumps, stagePumps[i] + 1);
        EXPECT_EQ(st->mState, kStellationNotBuilt);
        EXPECT_TRUE(st->mBuildDeclined);
        EXPECT_FALSE(st->IsUnderConstruction());
        EXPECT_NE(st->mFirstFaceType, nullptr);
        EXPECT_EQ(st->mFirstCell, nullptr);
        EXPECT_EQ(st->mFirstLayer, nullptr);
        EXPECT_EQ(st->mFirstFaceType->mFacets, nullptr);
        EXPECT_FALSE(InProgress());
        EXPECT_EQ(scripted.services.waitCursorDepth, 0);
        EXPECT_EQ(InternalErrors(scripted.services), "");
        // Later calls do nothing, and nothing reads half a stellation.
        model->poly.CreateStellation(st, kStellationBuilt);
        EXPECT_EQ(st->mState, kStellationNotBuilt);
        EXPECT_EQ(MarkAllUsedSegVerts(st), -1);
        EXPECT_EQ(st->GetNumCellsTotal(), 0);
    }
}

TEST(StellationCells, ABuildUnderWayLooksUnbuiltToEverythingElse)
{
    FakeClockScope clock;
    ScopedPumpingServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    int pumps = 0;
    int cellPumps = 0;
    scripted.services.onPump = [&]() {
        ++pumps;
        EXPECT_TRUE(st->IsUnderConstruction());
        EXPECT_FALSE(st->IsBuilt());
        // A redraw or a command in the middle of the build.
        model->poly.CreateStellation(st, kStellationBuilt);
        EXPECT_EQ(st->GetNumCellLayers(), 0);
        EXPECT_EQ(st->GetNumCellRecords(), 0);
        EXPECT_EQ(st->GetNumCellsTotal(), 0);
        EXPECT_EQ(st->GetNumIncludedCells(), 0);
        EXPECT_EQ(st->GetNumIncludedCellsTotal(), 0);
        EXPECT_EQ(st->GetMaxCellTypesPerLayer(), 0);
        EXPECT_EQ(st->FindCell(0), nullptr);
        EXPECT_EQ(st->GetOuterCell(), nullptr);
        EXPECT_TRUE(st->IsOriginal());
        EXPECT_EQ(MarkAllUsedSegVerts(st), -1);
        if (StellationCell* cell = st->mFirstCell)
        {
            ++cellPumps;
            const bool was = cell->IsIncluded();
            StellationCell::SetIncluded(cell, !was);
            EXPECT_EQ(cell->IsIncluded(), was);
            st->ResetToOriginal();
            st->SelectCellsAboveAxis(0);
        }
    };
    model->poly.CreateStellation(st, kStellationBuilt);
    scripted.services.onPump = nullptr;
    EXPECT_GT(pumps, 0);
    EXPECT_GT(cellPumps, 0);
    ASSERT_TRUE(st->IsBuilt());
    EXPECT_EQ(st->GetNumCellRecords(), 12);
    EXPECT_EQ(st->GetNumIncludedCells(), 1);
    EXPECT_EQ(st->mNumChangedCells, 0);
    EXPECT_EQ(MarkAllUsedSegVerts(st), 12);
    EXPECT_EQ(InternalErrors(scripted.services), "");
}

TEST(StellationCells, KitPartsOfTheTruncatedOctahedron)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("4.6.6");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    st->CountKitParts();
    int squares = 0, rhombi = 0, others = 0;
    for (int k = 0; k < kNumKitColors; ++k)
    {
        squares += st->mKitPanelCounts[kKitPanelSquare][k];
        rhombi += st->mKitPanelCounts[kKitPanelRhombus][k];
        others += st->mKitPanelCounts[kKitPanelTriangle][k] + st->mKitPanelCounts[kKitPanelPentagon][k];
    }
    EXPECT_EQ(squares, 6);
    EXPECT_EQ(rhombi, 24);  // three to each hexagon
    EXPECT_EQ(others, 0);
    EXPECT_EQ(st->mKitRods, 36 + 8 * 3);
    EXPECT_EQ(st->mKitBalls, 24 + 8);
    EXPECT_EQ(st->GetNumKitPanels(), 30);

    // Its dual has unequal edges: the kit builds none of it.
    Stellation* dual = model->poly.GetVertStellation();
    EXPECT_EQ(dual->GetNumKitPanels(), 0);
    EXPECT_EQ(dual->mKitRods, 0);
    EXPECT_EQ(dual->mKitBalls, 0);
    for (const auto& row : dual->mKitPanelCounts)
        for (int32_t count : row)
            EXPECT_EQ(count, 0);
}

TEST(StellationCells, HemiModelsPutCellsOnBothSidesOfTheCentralPlanes)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.6.3/2.6");  // octahemioctahedron
    ASSERT_NE(model, nullptr);
    Stellation* st = BuildStellation(*model);
    ASSERT_TRUE(st->IsBuilt());
    EXPECT_EQ(InternalErrors(scripted.services), "");
    // The four hexagon planes cut space into 14 cones about the 3-fold and 4-fold axes.
    int layer0 = 0;
    for (const StellationCell* c : Cells(st))
        if (c->mLayer == st->mFirstLayer)
            layer0 += c->GetNumCopies();
    EXPECT_EQ(layer0, 14);
    EXPECT_FALSE(st->mFirstCell->mFlags & kCellCore);
    // The cones under the triangles are closed; those under the missing squares open outwards.
    EXPECT_EQ(st->GetNumIncludedCellsTotal(), 8);
}

// With no cell round the centre there is nothing for the outer cell to close; the build stops and
// says so rather than leaving the user without a stellation and without a word.
TEST(StellationCells, NoCellsForTheOuterCellIsReported)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("4.4.4");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    scripted.services.Clear();
    EXPECT_FALSE(st->CreateOuterCell());
    EXPECT_EQ(st->mFirstCell, nullptr);
    EXPECT_NE(InternalErrors(scripted.services).find("CreateOuterCell: No cells were found."), std::string::npos);
}
