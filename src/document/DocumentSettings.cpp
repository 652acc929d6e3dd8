#include "document/DocumentSettings.h"

DocumentSettings& GetDocumentSettings()
{
    static DocumentSettings settings;
    return settings;
}
