#pragma once

// The model-building flag: set while CreatePoly rebuilds the model and while the stellation build
// asks the user whether to go on with a very complex model. Meanwhile no display mesh is built, and
// the kit check answers yes without keeping the answer.
bool IsModelBuildSuspended();
void SetModelBuildSuspended(bool on);
