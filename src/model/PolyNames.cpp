#include "model/Poly.h"

#include "kernel/ProgramClock.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryEntry.h"
#include "model/ModelRecord.h"
#include "model/PolyTemplate.h"
#include "polytope4d/Polytope4D.h"

#include <cstdio>
#include <cstring>

namespace
{
// Entry names are copied into buffers of this size.
constexpr size_t kNameBufferSize = 512;

// A polytope whose colours were chosen for it keeps them.
constexpr uint32_t kPolytopeKeepsColors = 0x800;

const LibraryEntry* gLastLibraryEntry = nullptr;
bool gSettingPolytope = false;

// "N-gonal ..." with the family's parameters in place of the N.
std::string ReplaceFamilyPrefix(const std::string& name, const char* number)
{
    return std::string(number) + name.substr(1);
}

std::string CopyName(const char* text)
{
    std::string name = text ? text : "";
    if (name.size() >= kNameBufferSize)
        name.resize(kNameBufferSize - 1);
    return name;
}
}  // namespace

const LibraryEntry* GetLastLibraryEntry()
{
    return gLastLibraryEntry;
}

void SetLastLibraryEntry(const LibraryEntry* entry)
{
    if (entry)
        gLastLibraryEntry = entry;
}

void Poly::SetText(std::string& member, const char* text)
{
    if (text)
        member = text;
    else
        member.clear();
    GetShell().InfoNeedsUpdate(15);
}

void Poly::SetBaseName(const char* text)
{
    SetText(mBaseName, text);
}

void Poly::SetDualName(const char* text)
{
    SetText(mDualName, text);
}

void Poly::SetComments(const char* text)
{
    SetText(mComments, text);
}

void Poly::SetLink(const char* text)
{
    SetText(mLink, text);
}

const char* Poly::GetNameFor(bool isDual) const
{
    return isDual == mShowDual ? GetBaseName() : GetDualName();
}

std::string Poly::GetName() const
{
    if (mTemplate)
        return PolyTemplate::GetName(mTemplate);
    if (mLibraryEntry)
        return LibraryEntry::GetSymbol(mLibraryEntry);
    return std::string();
}

void Poly::SetFromLibraryEntry(const LibraryEntry* entry)
{
    mLibraryEntry = entry;
    mBaseName.clear();
    mDualName.clear();
    mComments.clear();
    mLink.clear();
    if (!entry)
        return;
    gLastLibraryEntry = entry;

    std::string name = CopyName(entry->mName);
    std::string dualName = CopyName(entry->mDualNames);
    if ((entry->mFlags & LibraryEntry::kParametricFamily) && entry->mSymbol && std::strstr(entry->mSymbol, "<N>") &&
        name.compare(0, 2, "N-") == 0)
    {
        int n = 0, d = 1;
        entry->GetParams(n, d);
        char number[32];
        if (d == 1)
            std::snprintf(number, sizeof number, "%d", n);
        else
            std::snprintf(number, sizeof number, "%d/%d", n, d);
        name = ReplaceFamilyPrefix(name, number);
        if (dualName.compare(0, 2, "N-") == 0)
            dualName = ReplaceFamilyPrefix(dualName, number);
    }
    // The entry lists alternative dual names after the first.
    const size_t semicolon = dualName.find(';');
    if (semicolon != std::string::npos)
        dualName.resize(semicolon);

    SetBaseName(name.c_str());
    SetDualName(dualName.c_str());
    SetComments(entry->mDescription);
    SetLink(LibraryEntry::GetLink(entry).c_str());
}

void Poly::SetPolytope4D(std::unique_ptr<Polytope4D> polytope, int keepFlags)
{
    if (polytope.get() == mPolytope.get() || gSettingPolytope)
        return;
    gSettingPolytope = true;
    const bool was4D = mPolytope != nullptr;
    mPolytope.reset();
    Clear();
    mPolytope = std::move(polytope);

    if (Polytope4D* p = mPolytope.get())
    {
        mFlags |= kIs4D;
        if (p->mFlags & Polytope4D::kNotOrientable)
            mFlags |= kOneSided;
        if (p->mFlags & Polytope4D::kNoFiniteDual)
            mHasPointsAtInfinity = true;
        if (p->mFlags & kPolytopeKeepsColors)
            keepFlags |= kKeepColors;
        // A polytope of its own colours keeps them; any other is coloured by cell type.
        if (!(keepFlags & kKeepColors))
            p->ColorCellsByType();
        mMidRadius = p->mMidRadius;
        if (!(keepFlags & kKeepScale))
            GetUnitSettings().SetScale(GetUnitSettings().GetScale() * p->mScale, false);
        p->mScale = 1.0;
    }

    const bool isCurrent = GetCurrentPoly() == this;
    const bool is4D = mPolytope != nullptr;
    Shell& shell = GetShell();
    if (isCurrent && was4D != is4D)
    {
        shell.ModelDimensionChanged(is4D);
        shell.UpdateAllViewButtons();
    }
    mMatchingStatus = kMatchingFinished;
    // A new polytope is seen along its own automatic direction; one that replaces its like keeps
    // the panes' directions.
    if (isCurrent && mPolytope && !(keepFlags & kKeepProjection))
        Polytope4D::NotifyPolytopeShown(mPolytope.get());
    if (isCurrent)
    {
        shell.InfoNeedsUpdate(15);
        shell.InvalidateAllViews(false, 0);
    }
    gSettingPolytope = false;
}

void SetModelFromPolytope4D(int undoKind, std::unique_ptr<Polytope4D> polytope, int keepFlags, const char* baseName,
                            const char* dualName)
{
    Shell& shell = GetShell();
    const int preset = UndoKindTransitionPreset(undoKind);
    if (undoKind >= 0)
        shell.AddUndo(undoKind, false);
    void* keptRecord = preset >= 0 ? shell.PrepareTransitionOfType(preset) : nullptr;
    // Preparing a transition makes a new current record: ask for the current model only now.
    if (Poly* poly = GetCurrentPoly())
    {
        poly->SetPolytope4D(std::move(polytope), keepFlags);
        if (!IsBlank(baseName))
            poly->SetBaseName(baseName);
        if (!IsBlank(dualName))
            poly->SetDualName(dualName);
    }
    if (preset >= 0 && keptRecord)
        shell.StartTransitionOfType(preset, GetElapsedSeconds(false), keptRecord, false, false);
    shell.RefreshDocument(0);
}
