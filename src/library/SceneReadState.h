#pragma once

// The state of one scene read, shared by the files of the reader (SceneReader.cpp for the item
// loop, the header and the panes, SceneReaderSections.cpp for settings, elements, stellation
// sections and images, SceneReaderModel.cpp for the model); nothing outside the reader includes it.

#include "kernel/Mat4.h"
#include "kernel/Messages.h"
#include "kernel/Vec3D.h"
#include "library/RangeList.h"
#include "library/SceneFile.h"
#include "library/SceneHost.h"
#include "library/SceneReader.h"
#include "library/SceneStellationState.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ElemList;
class FaceVert;

inline bool AllFinite(const Vec3D& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Whether count more values of binaryBytes bytes each can be in the stream; an ASCII value takes
// at least two (a digit and a separator). Counts read from a file are checked so before anything
// is made for them.
inline bool StreamHolds(const ioFile* f, int64_t count, int64_t binaryBytes)
{
    if (count < 0)
        return false;
    const int64_t left = ioBytesLeft(f);
    const int64_t bytes = f->mMode == kIoAscii ? 2 : binaryBytes;
    return left < 0 || count <= left / bytes;
}
class Poly;
class PolyTemplate;
class SimplePoly;

// A 4D polytope as a file gives it, kept until 4D models can be made from model files.
struct SceneTope
{
    std::vector<double> coords;  // four a vertex
    std::vector<std::vector<int32_t>> faces;
    std::vector<std::vector<int32_t>> cells;
};

// An image a file places on elements, with its sub-items, kept until images are read from files.
struct SceneImage
{
    std::string path;
    int projection = 1;
    int boundary = 0;
    int element = -1;
    int borderColor = -1;  // 0x00BBGGRR; -1 without a border
    Vec3D axes[2];
    uint32_t flags = 0;
    double offset[2] = {0.0, 0.0};
    double rotation = 0.0;
    double height = 1.0;
    double stretch = 1.0;
    int runCount = 0;
    std::unique_ptr<RangePair[]> runs;
};

class SceneReader
{
public:
    SceneReader(SceneStreams& streams, const char* path, Poly* poly, PolyTemplate* templ, int options,
                SceneFileInfo& info);
    ~SceneReader();
    SceneReader(const SceneReader&) = delete;
    SceneReader& operator=(const SceneReader&) = delete;

    bool Read();

private:
    // ---- Messages and failure (SceneReader.cpp) ----
    // An error of the read through the stream's callback, counted; the read has then failed.
    void ReportError(const char* format, ...) ORVANE_PRINTF(2, 3);
    // A damaged item: "Failed to load file (may be corrupt)" once, unless something was said already;
    // ends the read.
    void Corrupt();
    // The current stream found a value missing in the item just read: Corrupt.
    bool ValueMissing();
    // Whether the user was told anything during the read.
    bool Spoke() const;
    ioFile* F() const { return mStreams.Current(); }

    // ---- The item loop (SceneReader.cpp) ----
    bool ReadItem(int token);
    bool IsHeaderItem(int token) const;
    void ReadHeaderItem(int token);
    void ReadViewItem(int token);
    // The items of SceneReaderSections.cpp.
    void ReadElementItem(int token);
    void ReadSettingItem(int token);
    void ReadSectionItem(int token);
    void ReadImageItem(int token);
    void ReadFacet(bool partial);
    // A colour list over the elements; each colour read is given to apply(element index, colour).
    template <class Apply>
    void ReadColorList(int count, Apply apply);
    // Runs of element indices read; apply(index) for each index of a run inside 0..count-1.
    template <class Apply>
    void ReadRuns(int count, Apply apply);
    Duration ReadDuration();
    BigUInt ReadBigCount();
    std::vector<uint32_t> ReadCountedColors();
    void NoteHiddenFaces();
    void PostProcess();

    // ---- The model (SceneReaderModel.cpp) ----
    void ReadPoly();
    void ReadTope();
    void ReadVertexFaces();
    void ReadEmptyNormals();
    // At "Scale": the model built from what was read; false when it could not be.
    bool BuildModel();
    bool BuildFromSimplePoly();
    bool BuildFromTemplate();
    // The elements of a list by index, made once the model stands.
    FaceVert* Element(ElemList& list, int index);

    // ---- The panes ----
    bool ViewsApplied() const;

    SceneStreams& mStreams;
    std::string mPath;
    Poly* mPoly;
    PolyTemplate* mTemplate;
    int mOptions;
    SceneFileInfo& mInfo;
    SceneHost& mHost;
    ioCallbacks mOuterCallbacks;

    std::unique_ptr<SimplePoly> mSimplePoly;
    std::unique_ptr<SceneTope> mTope;
    std::string mVertexDescription;
    std::string mSpringDesc;

    bool mCurrentIsDual = false;
    bool mVariation = false;
    bool mOldStyleAxes = false;
    bool mReorderUniFaces = true;
    bool mConvex = false;
    bool mRadiallyConvex = false;
    bool mNonSelfIntersecting = false;
    bool mModelSeen = false;
    bool mModelBuilt = false;
    bool mLayoutApplied = false;
    bool mIllegalTokenReported = false;
    bool mCorruptReported = false;
    bool mCancelled = false;
    bool mOk = true;
    bool mStop = false;
    bool mPreserveViews = false;
    int mErrors = 0;
    int mWarnings = 0;  // those shown
    // The word of an ASCII token the table does not have, as the token layer found it.
    std::string mUnknownWord;
    int mBoxesAtStart = 0;

    int mSubSymmetry[2] = {-1, -1};
    int mStellationOptions = 0;
    int mStellationCriterion = -1;
    bool mShowCellLines = false;
    int mFacetingOptions = 0;

    int mViewIndex = -1;  // the pane the view items go to; -1 for none
    SceneViewState mView;
    SceneStellationState mSections[2];
    int mSection = -1;  // 0 base, 1 dual; -1 for none
    std::vector<SceneImage> mImages;
    SceneImage* mImage = nullptr;  // the image the sub-items go to
    std::vector<FaceVert*> mElements[2];  // faces, vertices; made on demand
};
