#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class LibraryEntryModelTest : public LibraryStateTest
{
};
}  // namespace

TEST_F(LibraryEntryModelTest, RowsWithoutABuilderSayWhyAndLeaveTheModelAlone)
{
    struct Case
    {
        const char* name;
        int position;
        const char* message;
    };
    const Case cases[] = {
        {"Johnson solid", 105,
         "\"Square Pyramid\" cannot be built yet: models made from spring networks are not available in this "
         "version."},
        {"near miss", 197, nullptr},
        {"toroid", 212, nullptr},
        {"pyramid family", 241, nullptr},
        {"4D polytope", 264, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        Poly poly;
        poly.SetFromLibraryEntry(&Row(0));
        PolyTemplate templ;
        EXPECT_FALSE(poly.CreateFromLibraryEntry(&templ, &Row(c.position), false));
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        ASSERT_NE(call, nullptr);
        EXPECT_NE(call->text.find("cannot be built yet"), std::string::npos) << call->text;
        if (c.message)
        {
            EXPECT_EQ(call->text, c.message);
        }
        EXPECT_EQ(poly.mLibraryEntry, &Row(0));
        EXPECT_STREQ(poly.GetBaseName(), "Tetrahedron");
        EXPECT_EQ(poly.mFaces.mCount, 0);
        EXPECT_EQ(GetLastLibraryEntry(), &Row(0));

        EXPECT_EQ(LibraryEntry::CreatePoly(&Row(c.position), false), nullptr);
    }
}

TEST_F(LibraryEntryModelTest, NothingToBuildGivesNoModel)
{
    ScopedScriptedServices scripted;
    Poly poly;
    PolyTemplate templ;
    EXPECT_FALSE(poly.CreateFromLibraryEntry(&templ, nullptr, false));
    EXPECT_EQ(LibraryEntry::CreatePoly(nullptr, false), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);

    // Model files need the file reader, which this version lacks: said, not silently empty.
    LibraryEntry* file = CreateFileEntry("/models/cube.orva");
    EXPECT_EQ(LibraryEntry::CreatePoly(file, false), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    file->FreeStrings();
    delete file;
}
