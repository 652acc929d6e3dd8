#pragma once

// What the update check has learnt of newer versions. The check itself (the worker, the report)
// is not built yet; the About box already asks whether the stored latest version is newer.

// True when the version known is newer than version: leading numbers, then minor and third
// numbers, then a final release before its own Alpha or Beta, then the rests in natural order. An
// empty known version is never newer.
bool IsNewerVersion(const char* known, const char* version);

// IsNewerVersion with the latest version a reply has named ("LatestKnownVersion OrvaneMax").
bool IsNewerVersionKnown(const char* version);
