// The models of the spring-built rows: stored positions, or a relaxed spring network.

#include "library/LibraryEntry.h"

#include "kernel/Messages.h"
#include "library/StoredSpringDescs.h"
#include "library/StoredSpringPositions.h"
#include "model/SimplePoly.h"
#include "operations/SpringNetwork.h"
#include "operations/SpringSystem.h"

#include <strings.h>

namespace
{
constexpr int kAttempts = 10;

// The row's record in the stored tables; -1 for a family row or a row outside them.
int StoredIndexOf(const LibraryEntry* entry)
{
    if (!entry || !(entry->mFlags & LibraryEntry::kSpringBuilt) || (entry->mFlags & LibraryEntry::kAnyFamily))
        return -1;
    const int first = FirstSpringBuiltPosition();
    const int position = GetLibraryPosition(entry);
    if (first < 0 || position < first)
        return -1;
    return position - first;
}
}  // namespace

bool LibraryEntry::HasSpringData(const LibraryEntry* entry)
{
    if (!entry || !(entry->mFlags & kSpringBuilt))
        return false;
    if (entry->mFlags & kAnyFamily)
        return true;
    StoredSpringRecord record;
    return FindStoredSpringRecord(StoredIndexOf(entry), record) && record.count > 0;
}

std::unique_ptr<SimplePoly> LibraryEntry::CreateSpringPoly(std::string* description) const
{
    if (!(mFlags & kSpringBuilt))
        return nullptr;
    const std::optional<std::string> desc = GetSpringDesc(this);
    if (!desc)
        return nullptr;
    SpringSystem system;
    system.CreateFromDesc(desc->c_str());
    // An empty description makes no model, not an empty one.
    if (system.mNumNodes == 0)
        return nullptr;
    if (mFlags & kAnyFamily)
        system.Settle(kAttempts);
    else
    {
        StoredSpringRecord record;
        if (!FindStoredSpringRecord(StoredIndexOf(this), record))
            return nullptr;
        if (record.count == system.mNumNodes)
        {
            int i = 0;
            for (SpringNode* node = GetSpringNetwork().mFirstNode; node && i < record.count; node = node->next, ++i)
                node->mPos = Vec4D{record.Coordinate(i, 0), record.Coordinate(i, 1), record.Coordinate(i, 2), 0.0};
            system.CreateSimplePoly();
        }
        else
        {
            InternalError("CreateSpringPoly: Expected %d verts, got %d", system.mNumNodes, record.count);
            system.Settle(kAttempts);
        }
    }
    if (description)
        *description = *desc;
    std::unique_ptr<SimplePoly> result = system.TakeResult();
    if (!result || system.mCancelled)
        return nullptr;
    if (mCategory == kCategoryJohnson || mCategory == kCategoryNearMisses)
        result->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    else if (mCategory == kCategoryToroids && !(mSymbol && strcasecmp(mSymbol, "P6 / gP6") == 0))
        result->mFlags |= SimplePoly::kNonSelfIntersecting;
    return result;
}
