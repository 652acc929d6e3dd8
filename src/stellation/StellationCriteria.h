#pragma once

// Changes of the global stellation criterion and option bits, with their effects on the current
// model's two stellations.
void SetStellationCriteria(int criterion);
// Quiet (file reading, undo) stores the bits only.
void SetStellationOptions(int bits, bool quiet);
void ToggleStellationOption(int bit);
// Both sides of the current model prepare their stepping again.
void ResetStellationEnumerations();
