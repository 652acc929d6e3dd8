#pragma once

// Drops the current model's cross-section, to be cut again at a new depth or orientation.
void InvalidateModelCrossSection();
