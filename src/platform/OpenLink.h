#pragma once

#include <functional>
#include <string>

// The one way the program hands a link to the desktop: the rich texts, link labels, the Model Info
// tree's links, the Help pages, the manual and the exported files to be viewed all open through
// OpenLink.

enum class LinkKind
{
    kAddress,      // from a model file, a rich text or the update server: only http, https and mailto
    kProgramFile,  // a local file the program names itself (the manual) or has just written (an export)
};

// True for an http, https or mailto address (scheme compared without case).
bool IsOpenableAddress(const std::string& target);

// Hands the target to the desktop's browser or default application. An address of any other scheme,
// or a program file given as an address, is not opened. False when nothing was opened; the caller
// says so when it has a message for it.
bool OpenLink(const std::string& target, LinkKind kind = LinkKind::kAddress);

// What actually reaches the desktop, replaceable so that tests record links instead of starting a
// browser. Answers the opener it replaced; an empty opener restores the desktop's.
using LinkOpener = std::function<bool(const std::string& target, LinkKind kind)>;
LinkOpener SetLinkOpener(LinkOpener opener);
