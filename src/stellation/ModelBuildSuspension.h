#pragma once

// Set while the stellation build asks the user whether to go on with a very complex model.
// Meanwhile no model is built, and the kit check answers yes without keeping the answer.
bool IsModelBuildSuspended();
void SetModelBuildSuspended(bool on);
