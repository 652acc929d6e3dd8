// The memory slots of the Edit menu and the stored cameras of View > Camera.

#include "view/PolyView.h"

#include "kernel/AskQuestion.h"
#include "kernel/Messages.h"
#include "kernel/UndoKinds.h"
#include "model/CreatePoly.h"
#include "model/MemorySlots.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/Augmenter.h"
#include "platform/CommandIds.h"
#include "polytope4d/Polytope4D.h"
#include "render/ViewSnapshot.h"
#include "view/PaneHelpers.h"

#include <memory>
#include <string>
#include <vector>

namespace
{
// The slot text as a menu label: the digit keeps its mnemonic and a name's own '&' shows as itself.
wxString SlotMenuLabel(int slot)
{
    std::string text = GetMemoryText(slot);
    std::string label;
    for (char c : text)
    {
        if (c == '&')
            label += '&';
        label += c;
    }
    const size_t digit = label.find_first_of("0123456789");
    if (digit != std::string::npos)
        label.insert(digit, 1, '&');
    return wxString::FromUTF8(label);
}

bool AnySlotFilled()
{
    for (int slot = 0; slot < kNumMemorySlots; ++slot)
        if (GetMemorySlot(slot))
            return true;
    return false;
}
}  // namespace

void CPolyView::BindMemoryCommands()
{
    struct SlotCommands
    {
        int first;
        void (*run)(CPolyView&, int);
        bool needsModel;
    };
    const SlotCommands groups[] = {
        {kCmdPutInMemory1, [](CPolyView& v, int slot) { v.PutInMemory(slot); }, false},
        {kCmdRetrieveFromMemory1, [](CPolyView& v, int slot) { v.RetrieveFromMemory(slot); }, true},
        {kCmdSwapWithMemory1, [](CPolyView& v, int slot) { v.SwapWithMemory(slot); }, true},
        {kCmdClearMemory1, [](CPolyView& v, int slot) { v.ClearMemory(slot); }, true},
        {kCmdAddFromMemory1, [](CPolyView& v, int slot) { v.AddFromMemory(slot); }, true},
    };
    for (const SlotCommands& group : groups)
    {
        const auto run = group.run;
        const bool needsModel = group.needsModel;
        Bind(
            wxEVT_MENU, [this, run, first = group.first](wxCommandEvent& event) { run(*this, event.GetId() - first); },
            group.first, group.first + kNumMemorySlots - 1);
        Bind(
            wxEVT_UPDATE_UI,
            [needsModel, first = group.first](wxUpdateUIEvent& event) {
                const int slot = event.GetId() - first;
                event.SetText(SlotMenuLabel(slot));
                event.Enable(!needsModel || GetMemorySlot(slot));
            },
            group.first, group.first + kNumMemorySlots - 1);
    }
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            for (int slot = 0; slot < kNumMemorySlots; ++slot)
                ClearMemory(slot);
        },
        kCmdClearAllMemories);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(AnySlotFilled()); }, kCmdClearAllMemories);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { AskPutInMemory(); }, kCmdPutInMemoryAsk);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { AskRetrieveFromMemory(); }, kCmdRetrieveFromMemoryAsk);

    Bind(wxEVT_MENU, [this](wxCommandEvent&) { UseDefaultCamera(); }, kCmdUseDefaultCamera);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& event) { UseCamera(event.GetId() - kCmdUseCamera1); }, kCmdUseCamera1,
        kCmdUseCamera1 + kNumCameraMemories - 1);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Enable(IsCameraStored(event.GetId() - kCmdUseCamera1)); },
        kCmdUseCamera1, kCmdUseCamera1 + kNumCameraMemories - 1);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& event) { StoreCamera(event.GetId() - kCmdStoreCamera1); },
        kCmdStoreCamera1, kCmdStoreCamera1 + kNumCameraMemories - 1);
}

void CPolyView::CancelPreviewOfSlot(int slot)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    Augmenter& augmenter = poly->mAugmenter;
    if (augmenter.mPreviewView == static_cast<NewView*>(this) && (augmenter.mFlags & Augmenter::kAddMemoryModel) &&
        augmenter.mMemorySlot == slot)
        augmenter.Clear();
}

std::unique_ptr<SimplePoly> CPolyView::CopyForSlot(int slot)
{
    CancelPreviewOfSlot(slot);
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    std::unique_ptr<SimplePoly> copy =
        poly->CreateSimplePolyFromView(Poly::kConvertKeepPolytope, nullptr, nullptr, static_cast<NewView*>(this));
    if (copy)
        copy->mFlags |= SimplePoly::kKeepOrientation | SimplePoly::kKeepCentre;
    return copy;
}

void CPolyView::StoreInSlot(int slot, std::unique_ptr<SimplePoly> copy)
{
    const SimplePoly& model = *copy;
    std::string text;
    char buffer[160];
    if (const Polytope4D* polytope = model.mPolytope4D.get())
        std::snprintf(buffer, sizeof buffer,
                      "The model in this view (%d cells, %d vertices)\n  has been put into memory slot %d.",
                      polytope->mNumCells, polytope->mNumVerts, slot + 1);
    else
        std::snprintf(buffer, sizeof buffer,
                      "The model in this view (%d faces, %d vertices)\n  has been put into memory slot %d.",
                      model.mNumFaces, model.mNumVerts, slot + 1);
    SetMemorySlot(slot, std::move(copy));
    NewView::SetMessage(this, "%s", buffer);
}

void CPolyView::PutInMemory(int slot)
{
    if (slot < 0 || slot >= kNumMemorySlots)
        return;
    std::unique_ptr<SimplePoly> copy = CopyForSlot(slot);
    if (copy)
        StoreInSlot(slot, std::move(copy));
}

bool CPolyView::RetrieveFromMemory(int slot)
{
    SimplePoly* stored = GetMemorySlot(slot);
    if (!stored)
        return false;
    // Adopting a model changes it in place; the slot keeps what it holds.
    std::unique_ptr<SimplePoly> model = SimplePoly::Clone(stored);
    return model && SetModelFromSimplePoly(model.get(), kUndoRetrieveFromMemory, true, true);
}

void CPolyView::SwapWithMemory(int slot)
{
    if (!GetMemorySlot(slot))
        return;
    std::unique_ptr<SimplePoly> copy = CopyForSlot(slot);
    if (!copy || !RetrieveFromMemory(slot))
        return;
    StoreInSlot(slot, std::move(copy));
}

void CPolyView::ClearMemory(int slot)
{
    CancelPreviewOfSlot(slot);
    SetMemorySlot(slot, nullptr);
}

bool CPolyView::AddFromMemory(int slot)
{
    SimplePoly* stored = GetMemorySlot(slot);
    Poly* poly = GetCurrentPoly();
    if (!stored || !poly)
        return false;
    if (IsModel4D(poly) != stored->StandsFor4D())
    {
        ErrorMessage("You can't add these models.\nOne is 3D and the other is 4D.");
        return false;
    }
    std::unique_ptr<SimplePoly> current =
        poly->CreateSimplePolyFromView(Poly::kConvertKeepPolytope, nullptr, nullptr, static_cast<NewView*>(this));
    if (!current)
        return false;
    std::unique_ptr<SimplePoly> added = SimplePoly::Clone(stored);
    if (!added)
        return false;
    std::unique_ptr<SimplePoly> compound = CombineAtOneScale(*current, *added);
    current.reset();
    added.reset();
    if (!compound || !compound->RemoveAllCoincidentFaces(0, true, 4))
        return false;
    compound->BlendCoplanarFaces(SimplePoly::kBlendAsk, nullptr, nullptr);
    return SetModelFromSimplePoly(compound.get(), kUndoAddFromMemory, true, true);
}

void CPolyView::AskPutInMemory()
{
    std::vector<std::string> texts;
    for (int slot = 0; slot < kNumMemorySlots; ++slot)
        texts.push_back("/<=" + std::to_string(slot + 1) + GetMemoryText(slot));
    texts.push_back("/-Cancel");
    std::vector<const char*> labels;
    for (const std::string& text : texts)
        labels.push_back(text.c_str());
    const int answer = AskQuestionList(0, "Put Model in Memory", int(labels.size()), labels.data(), "%s",
                                       "Which memory slot would you like\nto put the model in?");
    if (answer >= 0 && answer < kNumMemorySlots)
        PutInMemory(answer);
}

void CPolyView::AskRetrieveFromMemory()
{
    std::vector<std::string> texts;
    for (int slot = 0; slot < kNumMemorySlots; ++slot)
    {
        const char* disabled = GetMemorySlot(slot) ? "" : "#";
        texts.push_back(std::string("/<") + disabled + "=" + std::to_string(slot + 1) + GetMemoryText(slot));
    }
    texts.push_back("/-Cancel");
    std::vector<const char*> labels;
    for (const std::string& text : texts)
        labels.push_back(text.c_str());
    const int answer = AskQuestionList(0, "Retrieve Model from Memory", int(labels.size()), labels.data(), "%s",
                                       "Which memory slot would you like\nto retrieve a model from?");
    if (answer >= 0 && answer < kNumMemorySlots)
        RetrieveFromMemory(answer);
}

bool CPolyView::IsCameraStored(int index)
{
    const ViewSnapshot* memory = GetCameraMemory(index);
    return memory && memory->valid;
}

void CPolyView::StoreCamera(int index)
{
    if (ViewSnapshot* memory = GetCameraMemory(index))
        memory->Save(*this);
}

void CPolyView::UseCamera(int index)
{
    const ViewSnapshot* memory = GetCameraMemory(index);
    if (!memory || !memory->valid)
        return;
    StopRotationThrows(true);
    memory->Restore(*this);
}

void CPolyView::UseDefaultCamera()
{
    StopRotationThrows(true);
    ResetCamera(true);
    RequestFit(1);
}
