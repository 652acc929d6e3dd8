#include "document/WholeModelUndo.h"

#include "document/PolyDoc.h"
#include "kernel/Shell.h"
#include "kernel/TransitionSettings.h"
#include "model/ModelRecord.h"
#include "model/SimplePoly.h"

namespace
{
// Orientation, centre, real size and both sides' colours travel with the copy.
constexpr uint32_t kKeepMarks = SimplePoly::kKeepOrientation | SimplePoly::kKeepCentre | SimplePoly::kKeepRealSize |
                                SimplePoly::kKeepBaseColors | SimplePoly::kKeepDualColors;

std::unique_ptr<SimplePoly> CaptureShownSide(Poly& poly)
{
    const uint32_t side = poly.mShowDual ? Poly::kConvertDual : Poly::kConvertBase;
    std::unique_ptr<SimplePoly> copy = poly.CreateSimplePoly(side | Poly::kConvertKeepPolytope, nullptr, nullptr);
    if (copy)
        copy->mFlags |= kKeepMarks;
    return copy;
}

WholeModelUndo::CaptureFunction gCapture;
WholeModelUndo::RebuildFunction gRebuild;

std::unique_ptr<SimplePoly> CaptureModel(Poly& poly)
{
    return gCapture ? gCapture(poly) : CaptureShownSide(poly);
}

int32_t TextSize(const std::string& text)
{
    return text.empty() ? 0 : int32_t(text.size() + 1);
}
}  // namespace

void WholeModelUndo::SetModelFunctions(CaptureFunction capture, RebuildFunction rebuild)
{
    gCapture = std::move(capture);
    gRebuild = std::move(rebuild);
}

WholeModelUndo* WholeModelUndo::Capture(int kind)
{
    Poly* poly = GetCurrentPoly();
    const CPolyDoc* doc = GetPolyDoc();
    // A step that could never be applied is not offered.
    if (!poly || !doc || !gRebuild)
        return nullptr;
    std::unique_ptr<SimplePoly> copy = CaptureModel(*poly);
    if (!copy)
        return nullptr;
    return new WholeModelUndo(kind, std::move(copy), poly->mLibraryEntry, doc->GetPathName(), doc->GetOwnFilePath());
}

WholeModelUndo::WholeModelUndo(int kind, std::unique_ptr<SimplePoly> model, const LibraryEntry* entry,
                               std::string pathName, std::string ownFilePath)
    : UndoItem(kind), mModel(std::move(model)), mEntry(entry), mPathName(std::move(pathName)),
      mOwnFilePath(std::move(ownFilePath))
{
}

WholeModelUndo::~WholeModelUndo() = default;

int32_t WholeModelUndo::GetSize() const
{
    return int32_t(SimplePoly::GetMemorySize(mModel.get())) + TextSize(mPathName) + TextSize(mOwnFilePath) + 40;
}

bool WholeModelUndo::Apply(bool undo)
{
    Poly* poly = GetCurrentPoly();
    CPolyDoc* doc = GetPolyDoc();
    if (!poly || !doc || !mModel || !gRebuild)
        return false;

    // The current state goes into the item, so that it then holds the other direction.
    std::unique_ptr<SimplePoly> current = CaptureModel(*poly);
    if (!current)
        return false;
    std::unique_ptr<SimplePoly> stored = std::move(mModel);
    const LibraryEntry* storedEntry = mEntry;
    std::string storedPath = std::move(mPathName);
    std::string storedOwnPath = std::move(mOwnFilePath);
    mModel = std::move(current);
    mEntry = poly->mLibraryEntry;
    mPathName = doc->GetPathName();
    mOwnFilePath = doc->GetOwnFilePath();

    bool built = false;
    {
        // Undoing a change made while transitions ran backwards plays it forwards, and the reverse.
        InverseTransitionScope inverse(undo != ((mFlags & kInverted) != 0));
        built = doc->BuildNewModel(UndoKindTransitionPreset(GetKind()),
                                   [&](Poly& target) { return gRebuild(*stored, target); }, true);
    }
    if (built)
    {
        GetCurrentPoly()->mLibraryEntry = storedEntry;
        SetLastLibraryEntry(storedEntry);
        doc->SetPathName(storedPath.c_str(), false);
        doc->SetOwnFilePath(storedOwnPath);
    }
    else
    {
        // The model stayed: the item keeps what it held, for a later try.
        mModel = std::move(stored);
        mEntry = storedEntry;
        mPathName = std::move(storedPath);
        mOwnFilePath = std::move(storedOwnPath);
    }
    GetShell().RefreshDocument(1);
    return built;
}
