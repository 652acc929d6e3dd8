#pragma once

#include "model/ElementDisplayOptions.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

// The 4-simplex: 5 vertices, 10 triangles, 5 tetrahedral cells (cell m leaves out vertex m), each
// triangle shared by exactly two cells. offset moves it along w so that two of them stay apart.
void AddSimplex(Polytope4D& p, double offset, uint32_t cellColor);

// Links the last simplex added as completing it would: each vertex's cells, faces and edges, and
// the 10 edges (i < j in vertex order) with their faces and the three cells around each.
void AddSimplexLinks(Polytope4D& p);

// A part record as the connectivity of a simplex makes it.
void AddPart(Polytope4D& p, Cell4D* first, bool orientable);

// A base polytope with a dual linked by hand (both simplices, flag 0x20 on the dual, mDual both
// ways); the base owns the dual.
struct LinkedPair
{
    std::unique_ptr<Polytope4D> base;
    Polytope4D* dual = nullptr;
};
LinkedPair MakeLinkedPair();

// Restores the display options, the cell-hiding mode, the 4D selection and the installed queries.
class Polytope4DTestBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedOptions = GetElementDisplayOptions();
        mSavedHiding = GetCellHidingMode4D();
    }
    void TearDown() override
    {
        GetElementDisplayOptions() = mSavedOptions;
        SetCellHidingMode4D(mSavedHiding);
        GetSelection4D() = Selection4D();
        Polytope4D::SetShowsDualQuery(nullptr);
        Polytope4D::SetCellShownQuery(nullptr);
    }

private:
    ElementDisplayOptions mSavedOptions;
    int mSavedHiding = 0;
};
