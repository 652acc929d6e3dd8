// Links in the texts drawn in a pane: a click on one follows it.

#include "document/ModelFileNames.h"
#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/StatusText.h"
#include "library/LibraryLookup.h"
#include "platform/OpenLink.h"
#include "render/HtmlText.h"
#include "view/PolyView.h"

#include <cctype>
#include <string>

namespace
{
bool HasPrefixNoCase(const std::string& text, const char* prefix)
{
    size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The folder relative links are read from: the model file's, else the working folder as it is.
std::string LinkFolder()
{
    const CPolyDoc* doc = GetPolyDoc();
    const std::string path = doc ? doc->GetFilePath() : std::string();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Opens a link that names no library model; false when nothing could be opened.
bool OpenOtherLink(const std::string& target)
{
    if (HasPrefixNoCase(target, "file:"))
    {
        std::string path = target.substr(5);
        if (path.compare(0, 2, "//") == 0)
            path.erase(0, 2);
        if (IsModelFileName(path.c_str()))
        {
            CPolyDoc* doc = GetPolyDoc();
            return doc && doc->OpenModelFile(path, 0);
        }
        std::string full;
        return PathExists(path.c_str()) && GetFullPath(full, path.c_str()) && OpenLink(full, LinkKind::kProgramFile);
    }
    if (IsOpenableAddress(target))
        return OpenLink(target, LinkKind::kAddress);
    // A file beside the model: only a file that exists goes to the desktop.
    std::string full;
    if (!target.empty() && PathExists(target.c_str()) && GetFullPath(full, target.c_str()))
        return OpenLink(full, LinkKind::kProgramFile);
    return false;
}
}  // namespace

void CPolyView::FollowTextLink(int index)
{
    const HtmlLink* link = GetHtmlLink(index);
    if (!link)
        return;
    const std::string target = link->target;
    SetStatusText("Opening %s", target.c_str());
    if (HasPrefixNoCase(target, "shape:"))
    {
        size_t start = 6;
        while (start < target.size() && target[start] == '/')
            ++start;
        const std::string name = target.substr(start);
        LibraryEntry* entry = FindLibraryEntry(name.c_str(), nullptr, false);
        CPolyDoc* doc = GetPolyDoc();
        if (!entry)
            ErrorMessage("Couldn't find shape '%s'.", name.c_str());
        else if (doc)
            doc->OpenLibraryModel(entry);
        return;
    }
    std::string saved;
    const bool haveSaved = GetCurrentDir(saved);
    const std::string folder = LinkFolder();
    if (!folder.empty())
        ChangeDir(folder.c_str());
    const bool opened = OpenOtherLink(target);
    if (haveSaved)
        ChangeDir(saved.c_str());
    if (!opened)
        ErrorMessage("Couldn't open '%s'.", target.c_str());
}
