#include "platform/OpenLink.h"

#include "kernel/Strings.h"

#include <wx/utils.h>

#include <cstring>

namespace
{
bool OpenOnDesktop(const std::string& target, LinkKind kind)
{
    const wxString text = wxString::FromUTF8(target);
    if (kind == LinkKind::kProgramFile)
        return wxLaunchDefaultApplication(text);
    return wxLaunchDefaultBrowser(text);
}

LinkOpener& Opener()
{
    static LinkOpener opener = OpenOnDesktop;
    return opener;
}
}  // namespace

bool IsOpenableAddress(const std::string& target)
{
    // Links come from model files and the network: a file: or javascript: address must not reach
    // the desktop, which would open or run whatever it names.
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (ComparePrefixNoCase(target.c_str(), scheme) == 0 && target.size() > std::strlen(scheme))
            return true;
    return false;
}

bool OpenLink(const std::string& target, LinkKind kind)
{
    if (kind == LinkKind::kAddress && !IsOpenableAddress(target))
        return false;
    // A program file is a plain path, never an address in disguise.
    if (kind == LinkKind::kProgramFile && (target.empty() || target[0] != '/'))
        return false;
    return Opener()(target, kind);
}

LinkOpener SetLinkOpener(LinkOpener opener)
{
    LinkOpener previous = Opener();
    Opener() = opener ? std::move(opener) : LinkOpener(OpenOnDesktop);
    return previous;
}
