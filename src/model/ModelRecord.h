#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Mat4.h"
#include "kernel/SceneParameters.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <cstdint>
#include <memory>
#include <string>

class Model3D;

// What a view saved of itself (its camera, projection and 2D area) in a model record; the view
// layer derives the real thing.
class SavedViewState
{
public:
    virtual ~SavedViewState() = default;
};

// The display state of one view kept with a model record; the view subsystem gives it meaning.
struct ModelViewRecord
{
    int32_t mViewType = -1;  // -1: no view
    std::unique_ptr<SavedViewState> mState;  // null: nothing saved
    double mExplosion = 1.0;
    int32_t mProjection4D = -1;
    Mat4 mRotation4D;
};

// The saved state of a mouse throw that was moving when its model record was left; the view
// subsystem derives the real thing. A record owns a singly linked list of them.
class SavedMouseThrow
{
public:
    virtual ~SavedMouseThrow() = default;

    SavedMouseThrow* mNext = nullptr;
};

// One model held by the document: its template, its Poly (which holds the model's names and its
// transition state) and the display state that belongs to this model.
class ModelRecord : public LinkNode<ModelRecord>
{
public:
    static constexpr int kNumViewRecords = 6;

    // Appends the record to the document's list: outgoing models first, the newest last.
    ModelRecord(ModelRecord*& first, ModelRecord*& last);
    ~ModelRecord() override;

    PolyTemplate mTemplate;
    Poly mPoly;
    std::string mPathName;  // the document's path texts when the record was left
    std::string mFilePath;
    ModelViewRecord mViews[kNumViewRecords];
    SavedMouseThrow* mFirstThrow = nullptr;  // owned
    SceneParameters mScene;  // the scene values the mouse moves, kept per model
};

// The document's model records. The document owns the list and registers it, so that the core can
// find the current model without reaching into the GUI.
struct ModelRecordList
{
    ModelRecordList() = default;
    // Deletes every record (unregistering the list first when it is the registered one).
    ~ModelRecordList();
    ModelRecordList(const ModelRecordList&) = delete;
    ModelRecordList& operator=(const ModelRecordList&) = delete;

    // A new record at the end of the list; not made current.
    ModelRecord* NewRecord();
    // Unlinks and deletes the record; the current record becomes null when it was that one.
    void DeleteRecord(ModelRecord* record);

    ModelRecord* mFirst = nullptr;
    ModelRecord* mLast = nullptr;
    ModelRecord* mCurrent = nullptr;
};

// The document registers its list (null: no document).
void SetDocumentModelRecords(ModelRecordList* list);
ModelRecordList* GetDocumentModelRecords();

// The Poly of the document's current record; null without a document or current record.
Poly* GetCurrentPoly();
PolyTemplate* GetCurrentTemplate();
// The cached mesh of the side the current model shows.
Model3D* GetCurrentModel3D();
// The Poly of the newest record, the last of the document's list.
bool IsNewestModelPoly(const Poly* poly);
