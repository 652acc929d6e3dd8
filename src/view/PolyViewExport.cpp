// The export commands of the model pane.

#include "view/PolyView.h"

#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/FileDialog.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "library/LibraryFileNames.h"
#include "mesh/Model3D.h"
#include "platform/CommandIds.h"
#include "stellation/Stellation.h"

#include <string>

namespace
{
constexpr char kTextFileFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
}  // namespace

void CPolyView::BindExportCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ExportMetricData(); }, kCmdExportMetricData);
}

Model3D* CPolyView::GetStellationModel3D(bool withNets) const
{
    Stellation* stellation = GetStellation();
    return stellation ? stellation->GetModel3D(withNets) : nullptr;
}

bool CPolyView::ExportMetricData()
{
    Model3D* model = GetStellationModel3D(false);
    if (!model)
    {
        ErrorMessage("Couldn't create 3D model");
        return false;
    }
    // The model file's name, else the model's, as a text file.
    std::string path;
    if (const CPolyDoc* doc = GetPolyDoc(); doc && !IsBlank(doc->GetFilePath()))
        path = WithExtension(GetFileNamePart(doc->GetFilePath().c_str()), "txt");
    else
    {
        path = GetShownModelName(false, false);
        if (IsBlank(path))
            path = "Untitled";
        ToSemicolonNames(path);
        path += ".txt";
    }
    if (!AskSaveFile("Save Face Table Data", path, "txt", kTextFileFilter, &gBrowseExport))
        return false;
    model->ExportMetricData(path.c_str(), GetStellationName().c_str());
    return true;
}
