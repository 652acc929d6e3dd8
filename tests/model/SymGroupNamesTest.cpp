#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
using G = SymGroup;

const SymGroup* const kNoGroup = nullptr;
const SymDescriptor* const kNoDescriptor = nullptr;

std::unique_ptr<SymGroup> MakeGroup(int kind, int reflection, int n = 1)
{
    std::unique_ptr<SymGroup> g = SymGroup::Create(kind, n);
    g->SetReflectionKind(reflection);
    return g;
}

struct SymbolCase
{
    int kind;
    int reflection;
    int n;
    const char* schoenflies;
    const char* orbifold;
    const char* coxeter;
};

// The point groups in the three notations of the published tables. Coxeter's brackets are written
// in one of their equivalent forms: [1,n] for [n], [4,3+] for [3+,4], [2+,2n+] for [2n+,2+].
const SymbolCase kPublished[] = {
    {G::kIcosahedral, G::kHorizontal, 5, "Ih", "*532", "[5,3]"},
    {G::kIcosahedral, G::kChiral, 5, "I", "532", "[5,3]+"},
    {G::kOctahedral, G::kHorizontal, 4, "Oh", "*432", "[4,3]"},
    {G::kOctahedral, G::kChiral, 4, "O", "432", "[4,3]+"},
    {G::kTetrahedral, G::kHorizontal, 3, "Th", "3*2", "[4,3+]"},
    {G::kTetrahedral, G::kDiagonal, 3, "Td", "*332", "[3,3]"},
    {G::kTetrahedral, G::kChiral, 3, "T", "332", "[3,3]+"},
    {G::kDihedral, G::kHorizontal, 12, "D12h", "*2.2.12", "[2,12]"},
    {G::kDihedral, G::kHorizontal, 5, "D5h", "*225", "[2,5]"},
    {G::kDihedral, G::kVertical, 3, "D3d", "2*3", "[2+,6]"},
    {G::kDihedral, G::kVertical, 10, "D10d", "2*10", "[2+,20]"},
    {G::kDihedral, G::kChiral, 2, "D2", "222", "[2,2]+"},
    {G::kDihedral, G::kChiral, 11, "D11", "2.2.11", "[2,11]+"},
    {G::kPyramidal, G::kHorizontal, 6, "C6h", "6*", "[2,6+]"},
    {G::kPyramidal, G::kVertical, 2, "C2v", "*22", "[1,2]"},
    {G::kPyramidal, G::kVertical, 12, "C12v", "*12.12", "[1,12]"},
    {G::kPyramidal, G::kRotationReflection, 5, "S10", "5x", "[2+,10+]"},
    {G::kPyramidal, G::kRotationReflection, 2, "S4", "2x", "[2+,4+]"},
    {G::kPyramidal, G::kChiral, 7, "C7", "77", "[1,7]+"},
    {G::kPyramidal, G::kChiral, 10, "C10", "10.10", "[1,10]+"},
    {G::kNoSymmetry, G::kHorizontal, 1, "Cs", "1*", "[ ]"},
    {G::kNoSymmetry, G::kCentralInversion, 1, "Ci", "1x", "[2+,2+]"},
    {G::kNoSymmetry, G::kChiral, 1, "C1", "11", "[ ]+"},
};

// A document whose current model may show a 4D polytope.
class CurrentModel
{
public:
    CurrentModel()
    {
        mRecords.mCurrent = mRecords.NewRecord();
        SetDocumentModelRecords(&mRecords);
    }
    ~CurrentModel() { SetDocumentModelRecords(nullptr); }
    void Set4D(bool on)
    {
        Poly& poly = mRecords.mCurrent->mPoly;
        poly.mFlags = on ? (poly.mFlags | Poly::kIs4D) : (poly.mFlags & ~Poly::kIs4D);
    }

private:
    ModelRecordList mRecords;
};
}  // namespace

TEST(SymGroupNames, GroupsCarryTheirPublishedSymbols)
{
    for (const SymbolCase& c : kPublished)
    {
        SCOPED_TRACE(c.schoenflies);
        ASSERT_TRUE(SymGroup::IsValidReflection(c.kind, c.reflection));
        std::unique_ptr<SymGroup> g = MakeGroup(c.kind, c.reflection, c.n);
        EXPECT_STREQ(SymGroup::GetSchoenflies(g.get()), c.schoenflies);
        EXPECT_STREQ(SymGroup::GetOrbifold(g.get()), c.orbifold);
        EXPECT_STREQ(SymGroup::GetCoxeter(g.get()), c.coxeter);
        const std::string joined = std::string(c.schoenflies) + "\t" + c.orbifold + "\t" + c.coxeter;
        EXPECT_EQ(SymGroup::GetSymbols(g.get(), "\t"), joined);

        // The same from a descriptor.
        SymDescriptor d;
        d.mKind = c.kind;
        d.mN = c.n;
        d.mReflection = c.reflection;
        EXPECT_STREQ(SymGroup::GetSchoenflies(&d), c.schoenflies);
        EXPECT_STREQ(SymGroup::GetOrbifold(&d), c.orbifold);
        EXPECT_STREQ(SymGroup::GetCoxeter(&d), c.coxeter);
        EXPECT_EQ(SymGroup::GetSymbols(&d, " / "),
                  std::string(c.schoenflies) + " / " + c.orbifold + " / " + c.coxeter);
    }
}

// Every kind with every reflection kind, at n = 4: the valid pairs give the published symbols,
// the others read as the nearest group the letters can name, and unknown kinds as "???".
TEST(SymGroupNames, SymbolsAreTotalOverKindsAndReflections)
{
    const SymbolCase table[] = {
        {0, 0, 4, "Ih", "*532", "[5,3]"},   {0, 1, 4, "Iv", "532", "[5,3]+"},   {0, 2, 4, "Id", "532", "[5,3]+"},
        {0, 3, 4, "I", "532", "[5,3]+"},    {0, 4, 4, "I", "532", "[5,3]+"},    {0, 5, 4, "I", "532", "[5,3]+"},
        {1, 0, 4, "Oh", "*432", "[4,3]"},   {1, 1, 4, "Ov", "432", "[4,3]+"},   {1, 2, 4, "Od", "432", "[4,3]+"},
        {1, 3, 4, "O", "432", "[4,3]+"},    {1, 4, 4, "O", "432", "[4,3]+"},    {1, 5, 4, "O", "432", "[4,3]+"},
        {2, 0, 4, "Th", "3*2", "[4,3+]"},   {2, 1, 4, "Tv", "332", "[3,3]+"},   {2, 2, 4, "Td", "*332", "[3,3]"},
        {2, 3, 4, "T", "332", "[3,3]+"},    {2, 4, 4, "T", "332", "[3,3]+"},    {2, 5, 4, "T", "332", "[3,3]+"},
        {3, 0, 4, "D4h", "*224", "[2,4]"},  {3, 1, 4, "D4d", "2*4", "[2+,8]"},  {3, 2, 4, "D4d", "224", "[2,4]+"},
        {3, 3, 4, "D4", "224", "[2,4]+"},   {3, 4, 4, "D4", "224", "[2,4]+"},   {3, 5, 4, "D4", "224", "[2,4]+"},
        {4, 0, 4, "C4h", "4*", "[2,4+]"},   {4, 1, 4, "C4v", "*44", "[1,4]"},   {4, 2, 4, "C4d", "44", "[1,4]+"},
        {4, 3, 4, "S8", "4x", "[2+,8+]"},   {4, 4, 4, "C4", "44", "[1,4]+"},    {4, 5, 4, "C4", "44", "[1,4]+"},
        {5, 0, 4, "Cs", "1*", "[ ]"},       {5, 1, 4, "Cs", "1*", "[ ]"},       {5, 2, 4, "Cs", "1*", "[ ]"},
        {5, 3, 4, "Cs", "1*", "[ ]"},       {5, 4, 4, "Ci", "1x", "[2+,2+]"},   {5, 5, 4, "C1", "11", "[ ]+"},
        {6, 0, 4, "C4h", "???", "???"},     {-1, 5, 4, "C4", "???", "???"},
    };
    for (const SymbolCase& c : table)
    {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.reflection));
        EXPECT_STREQ(SchoenfliesSymbol(c.kind, c.reflection, c.n), c.schoenflies);
        EXPECT_STREQ(OrbifoldSymbol(c.kind, c.reflection, c.n), c.orbifold);
        EXPECT_STREQ(CoxeterSymbol(c.kind, c.reflection, c.n), c.coxeter);
    }
}

TEST(SymGroupNames, NullGroupIsTheTrivialGroupOrBlankForFourDimensionalModels)
{
    // Without a document, and with a polyhedron as the current model.
    EXPECT_STREQ(SymGroup::GetSymbols(kNoGroup, "\t"), "C1\t11\t[ ]+");
    CurrentModel model;
    EXPECT_STREQ(SymGroup::GetSchoenflies(kNoGroup), "C1");
    EXPECT_STREQ(SymGroup::GetOrbifold(kNoGroup), "11");
    EXPECT_STREQ(SymGroup::GetCoxeter(kNoGroup), "[ ]+");
    EXPECT_STREQ(SymGroup::GetSymbols(kNoGroup, ", "), "C1, 11, [ ]+");

    model.Set4D(true);
    EXPECT_STREQ(SymGroup::GetSchoenflies(kNoGroup), "---");
    EXPECT_STREQ(SymGroup::GetOrbifold(kNoGroup), "---");
    EXPECT_STREQ(SymGroup::GetCoxeter(kNoGroup), "---");
    EXPECT_STREQ(SymGroup::GetSymbols(kNoGroup, "\t"), "---");
    // A group, or a descriptor, is named all the same.
    std::unique_ptr<SymGroup> oh = MakeGroup(G::kOctahedral, G::kHorizontal);
    EXPECT_STREQ(SymGroup::GetSymbols(oh.get(), " "), "Oh *432 [4,3]");
    EXPECT_STREQ(SymGroup::GetSchoenflies(kNoDescriptor), "C1");
    EXPECT_STREQ(SymGroup::GetOrbifold(kNoDescriptor), "11");
    EXPECT_STREQ(SymGroup::GetCoxeter(kNoDescriptor), "[ ]+");
    EXPECT_STREQ(SymGroup::GetSymbols(kNoDescriptor, "\t"), "C1\t11\t[ ]+");
}

TEST(SymGroupNames, KindAndReflectionNames)
{
    const char* kinds[] = {"Icosahedral",     "Octahedral",       "Tetrahedral",
                           "N-fold Dihedral", "N-fold Pyramidal", "No Symmetry"};
    for (int k = 0; k < 6; ++k)
        EXPECT_STREQ(SymGroup::GetKindName(k), kinds[k]);
    EXPECT_STREQ(SymGroup::GetKindName(-1), "???");
    EXPECT_STREQ(SymGroup::GetKindName(6), "???");
    EXPECT_STREQ(SymGroup::FormatKindName(G::kDihedral, 7), "7-fold Dihedral");
    EXPECT_STREQ(SymGroup::FormatKindName(G::kPyramidal, 12), "12-fold Pyramidal");
    EXPECT_STREQ(SymGroup::FormatKindName(G::kTetrahedral, 3), "Tetrahedral");

    const char* reflections[] = {"Horizontal Reflection", "Vertical Reflection", "Diagonal Reflection",
                                 "Rotation-Reflection",   "Central Inversion",   "Chiral (No Reflection)"};
    for (int r = 0; r < 6; ++r)
        EXPECT_STREQ(SymGroup::GetReflectionKindName(r), reflections[r]);
    EXPECT_STREQ(SymGroup::GetReflectionKindName(-1), "???");
    EXPECT_STREQ(SymGroup::GetReflectionKindName(6), "???");

    EXPECT_STREQ(SymGroup::GetName(kNoGroup), "Unknown");
    EXPECT_STREQ(SymGroup::GetReflectionName(kNoGroup), "Unknown");
    std::unique_ptr<SymGroup> d5 = MakeGroup(G::kDihedral, G::kVertical, 5);
    EXPECT_STREQ(SymGroup::GetName(d5.get()), "5-fold Dihedral");
    EXPECT_STREQ(SymGroup::GetReflectionName(d5.get()), "Vertical Reflection");
    std::unique_ptr<SymGroup> ih = MakeGroup(G::kIcosahedral, G::kHorizontal);
    EXPECT_STREQ(SymGroup::GetName(ih.get()), "Icosahedral");
}

TEST(SymGroupNames, AxisTexts)
{
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    std::unique_ptr<SymGroup> c5 = SymGroup::Create(G::kPyramidal, 5);
    struct Case
    {
        const SymGroup* group;
        const char* name;
        int i;
        bool result;
        const char* text;
    };
    const Case cases[] = {
        {ico.get(), "Sit on", 0, true, "Sit on 5-fold axis"},
        {ico.get(), nullptr, 2, true, "2-fold Axis"},
        {ico.get(), "", 1, true, "3-fold Axis"},
        {ico.get(), "  ", 1, true, "3-fold Axis"},
        {ico.get(), "Along", 1, true, "Along 3-fold Axis"},
        {ico.get(), "Turn About", 0, true, "Turn About 5-fold Axis"},
        // A blank in the first place does not make the phrase a sentence.
        {ico.get(), " on", 0, true, " on 5-fold Axis"},
        {c5.get(), "Along", 2, false, "Along 3rd Axis"},
        {c5.get(), "Sit on", 0, true, "Sit on 5-fold axis"},
        {c5.get(), "Sit on", 3, false, "Sit on 4th axis"},
        {c5.get(), "Along", 10, false, "Along 11th Axis"},
        {c5.get(), nullptr, 2, false, "3rd Axis"},
        {kNoGroup, "Along", 0, false, "Along 1st Axis"},
        {kNoGroup, "Along", 1, false, "Along 2nd Axis"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        std::string out = "left over";
        EXPECT_EQ(SymGroup::GetAxisText(c.group, out, c.name, c.i), c.result);
        EXPECT_EQ(out, c.text);
    }
}
