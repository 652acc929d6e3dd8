#include "document/ExportSettings.h"

ExportSettings& GetExportSettings()
{
    static ExportSettings settings;
    return settings;
}
