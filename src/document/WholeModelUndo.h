#pragma once

#include "document/UndoItem.h"

#include <functional>
#include <memory>
#include <string>

class Poly;
class SimplePoly;
struct LibraryEntry;

// The whole model before a change that replaces it: a plain copy of the side the model shows, its
// library entry and the document's path texts. Applying it builds the stored copy into the current
// model (with the transition of the kind's occasion) and keeps the model it replaced instead, so the
// item then holds the other direction. A copy that cannot be rebuilt stays stored for a later try.
class WholeModelUndo : public UndoItem
{
public:
    // The side the model shows as a plain model, marked to keep its orientation, centre, size and
    // colours; null when it cannot be converted.
    using CaptureFunction = std::function<std::unique_ptr<SimplePoly>(Poly& poly)>;
    // Makes the model from a plain model; false when it cannot.
    using RebuildFunction = std::function<bool(const SimplePoly& simplePoly, Poly& poly)>;
    // Null functions restore the program's own (rebuilding has none until models can be built from
    // plain models; until then nothing is recorded).
    static void SetModelFunctions(CaptureFunction capture, RebuildFunction rebuild);

    // The item for a change of the kind on the current model; null without a model, without a way
    // to rebuild it, or when it cannot be captured.
    static WholeModelUndo* Capture(int kind);

    WholeModelUndo(int kind, std::unique_ptr<SimplePoly> model, const LibraryEntry* entry, std::string pathName,
                   std::string ownFilePath);
    ~WholeModelUndo() override;

    int32_t GetSize() const override;
    bool Apply(bool undo) override;

    const SimplePoly* GetStoredModel() const { return mModel.get(); }
    const LibraryEntry* GetStoredEntry() const { return mEntry; }
    const std::string& GetStoredPathName() const { return mPathName; }

private:
    std::unique_ptr<SimplePoly> mModel;
    const LibraryEntry* mEntry;
    std::string mPathName;
    std::string mOwnFilePath;
};
